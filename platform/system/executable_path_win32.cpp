#include <windows.h>

#include <string>
#include <system_error>

#include "platform/system/error_text_win32.h"
#include "platform/system/executable_path.h"

namespace platform {

std::filesystem::path ExecutablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (length == 0) {
            throw std::filesystem::filesystem_error(
                "cannot tell the program's own path",
                std::error_code(int(::GetLastError()), Win32Category()));
        }
        if (length < path.size()) {  // not cut short
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace platform
