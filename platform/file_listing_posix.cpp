#include "platform/file_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <memory>
#include <string_view>
#include <system_error>

#include "platform/native_path.h"
#include "platform/wildcard_mask.h"

namespace platform {
namespace {

struct DirectoryCloser {
    void operator()(DIR* directory) const { ::closedir(directory); }
};

// The entry itself, not what a link points at, must be a regular file.
bool IsRegularFile(DIR* directory, const dirent& entry) {
    if (entry.d_type != DT_UNKNOWN) {
        return entry.d_type == DT_REG;
    }
    struct stat status {};
    return ::fstatat(::dirfd(directory), entry.d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 &&
           S_ISREG(status.st_mode);
}

}  // namespace

std::vector<AnsiString> FindFiles(const AnsiString& pattern) {
    const size_t slash = pattern.rfind('/');
    const bool hasDirectory = slash != AnsiString::npos;
    const auto directory = NativePath(hasDirectory ? pattern.substr(0, slash + 1) : ".");
    const std::string_view mask =
        hasDirectory ? std::string_view(pattern).substr(slash + 1) : std::string_view(pattern);

    const std::unique_ptr<DIR, DirectoryCloser> listing(::opendir(directory.c_str()));
    if (!listing) {
        const int error = errno;
        if (error == ENOENT || error == ENOTDIR) {
            return {};
        }
        throw std::system_error(error, std::generic_category(),
                                "cannot list " + directory.string());
    }
    std::vector<AnsiString> names;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(listing.get());
        if (entry == nullptr) {
            const int error = errno;
            if (error != 0) {
                throw std::system_error(error, std::generic_category(),
                                        "cannot list " + directory.string());
            }
            return names;
        }
        if (entry->d_name[0] == '.') {
            continue;
        }
        AnsiString name = AnsiFileName(entry->d_name);
        if (MatchesMask(name, mask) && IsRegularFile(listing.get(), *entry)) {
            names.push_back(std::move(name));
        }
    }
}

}  // namespace platform
