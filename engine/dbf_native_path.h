// Directory and file names reach the engine as Windows-1251 text; the file
// system here takes UTF-8.
#pragma once

#include <filesystem>

#include "platform/codepage.h"

namespace dbf {

inline std::filesystem::path NativePath(const AnsiString& name) {
    return std::filesystem::path(platform::Cp1251ToUtf8(name));
}

}  // namespace dbf
