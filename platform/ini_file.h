// Reading of INI files (the code-value file beside the executable).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

// Longest value a read delivers; longer values are cut.
constexpr std::size_t kIniValueLimit = 2047;

// The value of `key` in `section` of an INI file, or `defaultValue` when the
// file, the section or the key is missing.
//
// Section and key names compare without regard to case. The value is taken
// without the blanks around it and without one pair of matching surrounding
// quotes (" or '); ";" starts a comment only at the start of a line, and at
// most kIniValueLimit characters are delivered. Lines end at CR, LF or CRLF.
// On Windows the system's reader (GetPrivateProfileStringW) does the work:
// the file is UTF-16LE with a byte-order mark or else in the ANSI code page.
// Elsewhere the file may be UTF-16LE with a byte-order mark, UTF-8 with or
// without one, or else Windows-1251.
//
// Throws std::system_error when the file exists but cannot be read: a file
// that is there but unreadable must not pass for an empty one.
std::u16string ReadIniString(const std::filesystem::path& file, std::u16string_view section,
                             std::u16string_view key, std::u16string_view defaultValue);

}  // namespace platform
