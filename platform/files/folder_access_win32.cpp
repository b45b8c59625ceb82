// The folder checks through the system's own access check: a folder handle
// asked for exactly the rights a use needs opens only when the user has them.
#include <windows.h>

#include "platform/files/folder_access.h"

namespace platform {
namespace {

HANDLE OpenFolder(const std::filesystem::path& folder, DWORD rights) {
    return ::CreateFileW(folder.c_str(), rights,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

}  // namespace

FolderAccess FolderAccessCheck::Check(const std::filesystem::path& folder, FolderUse use) const {
    const DWORD attributes = ::GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = ::GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                   ? FolderAccess::Missing
                   : FolderAccess::Denied;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return FolderAccess::NotAFolder;
    }
    // Creating and deleting names needs to add and delete entries; listing
    // needs to read them.
    DWORD rights = FILE_ADD_FILE | FILE_DELETE_CHILD | FILE_TRAVERSE;
    if (use == FolderUse::Source) {
        rights |= FILE_LIST_DIRECTORY;
    }
    const HANDLE handle = OpenFolder(folder, rights);
    if (handle == INVALID_HANDLE_VALUE) {
        return FolderAccess::Denied;
    }
    ::CloseHandle(handle);
    return FolderAccess::Usable;
}

bool FolderAccessCheck::SameFolder(const std::filesystem::path& a,
                                   const std::filesystem::path& b) const {
    BY_HANDLE_FILE_INFORMATION info[2]{};
    const std::filesystem::path* folders[2] = {&a, &b};
    for (int i = 0; i < 2; ++i) {
        const HANDLE handle = OpenFolder(*folders[i], FILE_READ_ATTRIBUTES);
        if (handle == INVALID_HANDLE_VALUE) {
            return false;
        }
        const bool known = ::GetFileInformationByHandle(handle, &info[i]) != 0;
        ::CloseHandle(handle);
        if (!known || (info[i].dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            return false;
        }
    }
    return info[0].dwVolumeSerialNumber == info[1].dwVolumeSerialNumber &&
           info[0].nFileIndexHigh == info[1].nFileIndexHigh &&
           info[0].nFileIndexLow == info[1].nFileIndexLow;
}

const FolderAccessCheck& FolderAccessCheck::System() {
    static const FolderAccessCheck system;
    return system;
}

}  // namespace platform
