#include "engine/dbf_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <utility>

#include "platform/file_sync.h"

namespace dbf {
namespace {

constexpr mode_t kNewFileMode = 0666;  // narrowed by the umask

int OpenOrThrow(const std::filesystem::path& path, int flags, const char* what) {
    const int fd = ::open(path.c_str(), flags | O_NOFOLLOW | O_CLOEXEC, kNewFileMode);
    if (fd < 0) {
        const int error = errno;
        throw std::system_error(error, std::generic_category(),
                                std::string(what) + " '" + path.string() + "'");
    }
    return fd;
}

}  // namespace

TableFile TableFile::CreateNew(const std::filesystem::path& path) {
    return TableFile(OpenOrThrow(path, O_WRONLY | O_CREAT | O_EXCL, "cannot create table"), path);
}

TableFile TableFile::OpenExisting(const std::filesystem::path& path) {
    TableFile file(OpenOrThrow(path, O_RDWR, "cannot open table"), path);
    struct stat info {};
    if (::fstat(file.fd_, &info) != 0) {
        file.Fail("cannot examine table");
    }
    if (!S_ISREG(info.st_mode)) {
        throw std::system_error(std::make_error_code(std::errc::invalid_argument),
                                "cannot open table '" + path.string() + "': not a regular file");
    }
    return file;
}

TableFile::TableFile(TableFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), path_(std::move(other.path_)) {}

TableFile::~TableFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

void TableFile::Fail(const char* what) const {
    const int error = errno;  // before the message is built
    throw std::system_error(error, std::generic_category(), what + (" '" + path_.string() + "'"));
}

void TableFile::WriteAt(std::string_view bytes, off_t offset) {
    while (!bytes.empty()) {
        const ssize_t written = ::pwrite(fd_, bytes.data(), bytes.size(), offset);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            Fail("cannot write table");
        }
        bytes.remove_prefix(size_t(written));
        offset += written;
    }
}

std::string TableFile::ReadUpTo(size_t length, off_t offset) {
    std::string bytes(length, '\0');
    size_t done = 0;
    while (done < length) {
        const ssize_t got = ::pread(fd_, bytes.data() + done, length - done, offset + off_t(done));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            Fail("cannot read table");
        }
        if (got == 0) {
            bytes.resize(done);
            break;
        }
        done += size_t(got);
    }
    return bytes;
}

off_t TableFile::Size() const {
    struct stat info {};
    if (::fstat(fd_, &info) != 0) {
        Fail("cannot examine table");
    }
    return info.st_size;
}

void TableFile::Truncate(off_t size) {
    if (::ftruncate(fd_, size) != 0) {
        Fail("cannot set the size of table");
    }
}

void TableFile::Flush() {
    platform::FlushFile(fd_, path_);
}

void TableFile::Close() {
    const int fd = std::exchange(fd_, -1);
    if (::close(fd) != 0 && errno != EINTR) {
        Fail("cannot close table");
    }
}

}  // namespace dbf
