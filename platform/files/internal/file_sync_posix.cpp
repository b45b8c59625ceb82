#include "platform/files/internal/file_sync_posix.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace platform {

void FlushFile(int fd, const std::filesystem::path& name) {
    if (::fsync(fd) != 0) {
        const int error = errno;  // before anything else can change it
        throw std::system_error(error, std::generic_category(), "cannot flush " + name.string());
    }
}

void FlushDirectory(const std::filesystem::path& directory) {
    const auto path = directory.empty() ? std::filesystem::path(".") : directory;
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        throw std::system_error(error, std::generic_category(), "cannot open " + path.string());
    }
    const int rc = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    if (rc != 0) {
        throw std::system_error(error, std::generic_category(), "cannot flush " + path.string());
    }
}

}  // namespace platform
