// Where the running program lives, and the files kept beside it.
#pragma once

#include <filesystem>

namespace platform {

// Full path of the running program's executable; throws
// std::filesystem::filesystem_error when the system cannot tell it.
std::filesystem::path ExecutablePath();

// The code-value file: the executable's path with its extension replaced by
// ".INI" (a name without extension gets ".INI" appended).
std::filesystem::path CodeValueFilePath();

}  // namespace platform
