// The system's own INI reader.
#include <windows.h>

#include <array>
#include <system_error>

#include "platform/store/ini_file.h"
#include "platform/system/error_text_win32.h"

namespace platform {
namespace {

std::wstring Wide(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}

// The profile calls take a missing and an unreadable file alike for an empty
// one: an open tells them apart first.
bool FileExists(const std::filesystem::path& file) {
    const HANDLE handle =
        ::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        ::CloseHandle(handle);
        return true;
    }
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
        return false;
    }
    throw std::system_error(int(error), Win32Category(), "cannot open " + file.string());
}

}  // namespace

IniText IniText::Read(const std::filesystem::path& file) {
    // A relative name would be looked for in the Windows folder.
    const std::filesystem::path absolute = std::filesystem::absolute(file);
    if (!FileExists(absolute)) {
        return IniText(std::string_view());
    }
    return IniText([absolute](std::u16string_view section, std::u16string_view key,
                              std::u16string_view defaultValue) {
        std::array<wchar_t, kIniValueLimit + 1> buffer{};
        const DWORD length = ::GetPrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(),
                                                        Wide(defaultValue).c_str(), buffer.data(),
                                                        DWORD(buffer.size()), absolute.c_str());
        return std::u16string(buffer.data(), buffer.data() + length);
    });
}

}  // namespace platform
