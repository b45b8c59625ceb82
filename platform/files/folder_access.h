// What the converter's user may do in the folders a configuration names,
// asked before any file there is touched. Tests replace it to make a folder
// look missing or closed to them.
#pragma once

#include <filesystem>

namespace platform {

enum class FolderUse {
    Source,  // listed, read, and its converted files deleted
    Target,  // tables created, renamed and deleted in it
};

enum class FolderAccess { Usable, Missing, NotAFolder, Denied };

class FolderAccessCheck {
  public:
    virtual ~FolderAccessCheck() = default;

    // Whether this process, as the user it runs as, may do in `folder` what
    // `use` needs. A folder that cannot be reached at all counts as Denied.
    virtual FolderAccess Check(const std::filesystem::path& folder, FolderUse use) const;

    // Whether `a` and `b` are one existing folder, also when reached through
    // links or written differently.
    virtual bool SameFolder(const std::filesystem::path& a, const std::filesystem::path& b) const;

    // The checks of this system.
    static const FolderAccessCheck& System();
};

}  // namespace platform
