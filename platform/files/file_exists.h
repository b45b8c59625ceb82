// Whether a name is taken, for the files whose absence means something of its
// own: a code-value file that is not there reads as empty lists, a store file
// that is not there as an empty configuration.
#pragma once

#include <filesystem>

namespace platform {

// True when something is there under `path`, readable or not (a link that
// leads nowhere counts as nothing).
bool FileExists(const std::filesystem::path& path);

}  // namespace platform
