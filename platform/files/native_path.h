// File names cross between the engine's Windows-1251 text and this system's
// file names (UTF-8, or UTF-16 on Windows) here, and nowhere else.
#pragma once

#include <filesystem>
#include <string_view>

#include "platform/text/codepage.h"

namespace platform {

// The file system path for a Windows-1251 path of the engine.
std::filesystem::path NativePath(std::string_view ansiPath);

// The Windows-1251 form of a file system path. A character Windows-1251
// cannot hold (or a byte sequence that is not UTF-8) becomes '?', so such a
// file cannot be reached through its 8-bit name afterwards.
AnsiString AnsiFileName(const std::filesystem::path& path);

// The position of the separator that ends the folder part of an 8-bit path:
// its last '/' (or '\' on Windows); npos when it has none.
size_t FolderEnd(std::string_view ansiPath);

// The Windows-1251 name of a folder entry, as masks and the engine see it.
// `fits` is set false when characters Windows-1251 cannot hold became '?'. On
// Linux a name that is no UTF-8 was written in an 8-bit code page and is
// taken by its bytes.
AnsiString EntryName(const std::filesystem::path& entry, bool& fits);

}  // namespace platform
