// Where the running program lives, and the files kept beside it.
#pragma once

#include <filesystem>

namespace platform {

// Full path of the running program's executable; throws
// std::filesystem::filesystem_error when the system cannot tell it.
std::filesystem::path ExecutablePath();

// The code-value file, one for all the programs: kvadrel.INI in the
// executable's folder. For the window program that is its own path with the
// extension ".INI"; kvadrel-batch and kvadrel-dump beside it read the same.
std::filesystem::path CodeValueFilePath();

}  // namespace platform
