// Writing whole files so that a crash or a kill at any moment leaves either
// the old or the new contents on disk, never a mix. Every function throws
// std::system_error naming the file and the reason.
#pragma once

#include <filesystem>
#include <string_view>

namespace platform {

// Creates `folder` and its missing parents with mode 0700.
void CreateFolders(const std::filesystem::path& folder);

// Writes a new file with mode 0600 and flushes it to disk. Returns false,
// writing nothing, when the file already exists.
bool WriteNewFile(const std::filesystem::path& file, std::string_view bytes);

// Writes the bytes to a new temporary file (mode 0600) beside `file`, flushes
// it, renames it over `file` and flushes the folder. On a failure before the
// rename the temporary file is removed and `file` is untouched.
void ReplaceFileAtomically(const std::filesystem::path& file, std::string_view bytes);

}  // namespace platform
