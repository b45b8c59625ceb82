// Durability helpers: what must reach the disk before a rename or a delete
// may rely on it.
#pragma once

#include <filesystem>

namespace platform {

// Flushes an open file descriptor's data and metadata; throws std::system_error.
void FlushFile(int fd, const std::filesystem::path& name);

// Flushes a directory's entries (after a create, rename or delete in it);
// throws std::system_error.
void FlushDirectory(const std::filesystem::path& directory);

}  // namespace platform
