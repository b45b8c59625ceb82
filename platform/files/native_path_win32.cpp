#include "platform/files/native_path.h"

namespace platform {

std::filesystem::path NativePath(std::string_view ansiPath) {
    const std::u16string wide = Cp1251ToUtf16(ansiPath);
    return std::filesystem::path(std::wstring(wide.begin(), wide.end()));
}

AnsiString AnsiFileName(const std::filesystem::path& path) {
    const std::wstring& wide = path.native();
    return Utf16ToCp1251(std::u16string(wide.begin(), wide.end()));
}

size_t FolderEnd(std::string_view ansiPath) {
    return ansiPath.find_last_of("\\/");
}

AnsiString EntryName(const std::filesystem::path& entry, bool& fits) {
    const std::u16string wide(entry.native().begin(), entry.native().end());
    AnsiString name = Utf16ToCp1251(wide);
    fits = Cp1251ToUtf16(name) == wide;
    return name;
}

}  // namespace platform
