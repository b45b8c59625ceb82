#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "platform/files/internal/file_reader.h"
#include "platform/system/unique_fd_posix.h"

namespace platform {
namespace {

std::string ReadFailure(const std::filesystem::path& file) {
    return "cannot read " + file.string();
}

std::system_error ReadError(int error, const std::filesystem::path& file) {
    return std::system_error(error, std::generic_category(), ReadFailure(file));
}

UniqueFd Open(const std::filesystem::path& file) {
    UniqueFd fd(::open(file.c_str(), O_RDONLY | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0) {
        const int error = errno;
        if (error == ENOENT || error == ENOTDIR) {
            throw MissingFileError(error, std::generic_category(), ReadFailure(file));
        }
        throw ReadError(error, file);
    }
    return fd;
}

}  // namespace

struct FileReader::Handle {
    UniqueFd fd;
};

FileReader::FileReader(const std::filesystem::path& file)
    : handle_(new Handle{Open(file)}), file_(file) {}

FileReader::~FileReader() = default;

size_t FileReader::SizeHint() const {
    struct stat info {};
    if (::fstat(handle_->fd.get(), &info) != 0) {
        throw ReadError(errno, file_);
    }
    return S_ISREG(info.st_mode) ? size_t(info.st_size) : 0;
}

size_t FileReader::Read(char* buffer, size_t capacity) {
    size_t filled = 0;
    while (filled < capacity) {
        const ssize_t got = ::read(handle_->fd.get(), buffer + filled, capacity - filled);
        if (got == 0) {
            break;
        }
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw ReadError(errno, file_);
        }
        filled += size_t(got);
    }
    return filled;
}

}  // namespace platform
