#include <windows.h>

#include "platform/files/file_exists.h"

namespace platform {

bool FileExists(const std::filesystem::path& path) {
    if (::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
        return true;
    }
    const DWORD error = ::GetLastError();
    return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND &&
           error != ERROR_INVALID_NAME;
}

}  // namespace platform
