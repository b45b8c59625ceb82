// The user's folders as Windows names them: the roaming application data for
// settings, the local application data for state.
#include <windows.h>
// After windows.h, which it needs.
#include <shlobj.h>

#include <stdexcept>
#include <system_error>

#include "platform/system/error_text_win32.h"
#include "platform/system/user_folders.h"

namespace platform {
namespace {

std::filesystem::path KnownFolder(REFKNOWNFOLDERID id, const char* what) {
    PWSTR path = nullptr;
    const HRESULT result = ::SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path);
    if (FAILED(result)) {
        ::CoTaskMemFree(path);
        throw std::runtime_error(std::string("cannot find the user's ") + what + ": " +
                                 Win32Category().message(int(result)));
    }
    std::filesystem::path folder(path);
    ::CoTaskMemFree(path);
    return folder;
}

}  // namespace

std::filesystem::path UserConfigFolder() {
    return KnownFolder(FOLDERID_RoamingAppData, "application data folder");
}

std::filesystem::path UserStateFolder() {
    return KnownFolder(FOLDERID_LocalAppData, "local application data folder");
}

}  // namespace platform
