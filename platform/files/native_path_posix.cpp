#include "platform/files/native_path.h"

namespace platform {

std::filesystem::path NativePath(std::string_view ansiPath) {
    return std::filesystem::path(Cp1251ToUtf8(ansiPath));
}

AnsiString AnsiFileName(const std::filesystem::path& path) {
    return Utf8ToCp1251(path.native());
}

size_t FolderEnd(std::string_view ansiPath) {
    return ansiPath.rfind('/');
}

AnsiString EntryName(const std::filesystem::path& entry, bool& fits) {
    const std::string& bytes = entry.native();
    const bool utf8 = Utf16ToUtf8(Utf8ToUtf16(bytes)) == bytes;
    if (!utf8) {
        fits = true;
        return bytes;  // written in an 8-bit code page: taken as it is
    }
    AnsiString name = Utf8ToCp1251(bytes);
    fits = Cp1251ToUtf8(name) == bytes;
    return name;
}

}  // namespace platform
