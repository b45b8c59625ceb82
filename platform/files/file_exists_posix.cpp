#include "platform/files/file_exists.h"

#include <sys/stat.h>

#include <cerrno>

namespace platform {

bool FileExists(const std::filesystem::path& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 || (errno != ENOENT && errno != ENOTDIR);
}

}  // namespace platform
