#include <windows.h>

#include <random>
#include <string>
#include <system_error>

#include "platform/files/private_directory.h"
#include "platform/system/error_text_win32.h"

namespace platform {

// The user's temporary folder is the user's own; the new folder inherits that.
PrivateDirectory::PrivateDirectory() {
    wchar_t temporary[MAX_PATH + 1];
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, temporary);
    if (length == 0 || length > MAX_PATH) {
        throw std::system_error(int(::GetLastError()), Win32Category(),
                                "cannot find the temporary folder");
    }
    std::random_device random;
    for (;;) {
        path_ = std::filesystem::path(temporary) / ("kvadrel." + std::to_string(random()));
        if (::CreateDirectoryW(path_.c_str(), nullptr)) {
            return;
        }
        if (const DWORD error = ::GetLastError(); error != ERROR_ALREADY_EXISTS) {
            throw std::system_error(int(error), Win32Category(),
                                    "cannot make a temporary folder in " + path_.string());
        }
    }
}

}  // namespace platform
