#include "platform/files/folder_access.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

FolderAccess FolderAccessCheck::Check(const std::filesystem::path& folder, FolderUse use) const {
    struct stat status {};
    if (::stat(folder.c_str(), &status) != 0) {
        return errno == ENOENT || errno == ENOTDIR ? FolderAccess::Missing : FolderAccess::Denied;
    }
    if (!S_ISDIR(status.st_mode)) {
        return FolderAccess::NotAFolder;
    }
    // Creating and deleting names needs write and search; listing needs read.
    const int needed = use == FolderUse::Source ? R_OK | W_OK | X_OK : W_OK | X_OK;
    return ::faccessat(AT_FDCWD, folder.c_str(), needed, AT_EACCESS) == 0 ? FolderAccess::Usable
                                                                          : FolderAccess::Denied;
}

bool FolderAccessCheck::SameFolder(const std::filesystem::path& a,
                                   const std::filesystem::path& b) const {
    struct stat first {};
    struct stat second {};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
           S_ISDIR(first.st_mode) && first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

const FolderAccessCheck& FolderAccessCheck::System() {
    static const FolderAccessCheck system;
    return system;
}

}  // namespace platform
