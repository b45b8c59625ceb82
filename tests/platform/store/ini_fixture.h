// Writing INI files of given bytes and reading a key back.
#pragma once

#include <string>
#include <string_view>

#include "platform/store/ini_file.h"
#include "tests/temp_directory.h"

namespace platform {

inline std::string Utf16LeWithBom(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text) {
        bytes += char(unit & 0xFF);
        bytes += char(unit >> 8);
    }
    return bytes;
}

// Reads a key of an INI file with the given contents, "<default>" when missing.
inline std::u16string Read(std::string_view contents, std::u16string_view section,
                           std::u16string_view key) {
    const TempDirectory folder;
    return IniText::Read(folder.Write("test.ini", contents)).ReadString(section, key, u"<default>");
}

}  // namespace platform
