#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <utility>

#include "platform/files/file_system.h"
#include "platform/files/internal/file_identity_posix.h"
#include "platform/files/internal/file_sync_posix.h"
#include "platform/system/unique_fd_posix.h"

namespace platform {
namespace {

constexpr mode_t kNewFileMode = 0666;  // narrowed by the umask

std::string Quoted(const std::filesystem::path& path) {
    std::string quoted = path.string();
    quoted.insert(quoted.begin(), '\'');
    quoted += '\'';
    return quoted;
}

[[noreturn]] void Throw(int error, const std::string& action, const std::filesystem::path& path) {
    throw std::system_error(error, std::generic_category(), action + " " + Quoted(path));
}

bool IsHeldError(int error) {
    return error == EAGAIN || error == EWOULDBLOCK || error == EBUSY;
}

class PosixSourceFile : public SourceFile {
  public:
    PosixSourceFile(UniqueFd fd, std::filesystem::path path, bool held)
        : fd_(std::move(fd)), path_(std::move(path)), held_(held) {}

    FileIdentity Identity() override {
        struct stat status {};
        if (::fstat(fd_.get(), &status) != 0) {
            Throw(errno, "cannot examine", path_);
        }
        return IdentityOf(status);
    }

    size_t Read(char* buffer, size_t capacity) override {
        for (;;) {
            const ssize_t got = ::read(fd_.get(), buffer, capacity);
            if (got >= 0) {
                return size_t(got);
            }
            if (errno != EINTR) {
                Throw(errno, "cannot read", path_);
            }
        }
    }

    // Someone opening the file breaks the lease: F_GETLEASE then answers the
    // type the break wants instead of F_WRLCK.
    bool HeldAlone() override { return held_ && ::fcntl(fd_.get(), F_GETLEASE) == F_WRLCK; }

  private:
    UniqueFd fd_;
    std::filesystem::path path_;
    bool held_;
};

class PosixWritableFile : public WritableFile {
  public:
    PosixWritableFile(UniqueFd fd, std::filesystem::path path)
        : fd_(std::move(fd)), path_(std::move(path)) {}

    void WriteAt(std::string_view bytes, uint64_t offset) override {
        while (!bytes.empty()) {
            const ssize_t written = ::pwrite(fd_.get(), bytes.data(), bytes.size(), off_t(offset));
            if (written < 0) {
                if (errno == EINTR) {
                    continue;
                }
                Throw(errno, "cannot write", path_);
            }
            bytes.remove_prefix(size_t(written));
            offset += uint64_t(written);
        }
        StartWriteBack(offset);
    }

    std::string ReadAt(size_t length, uint64_t offset) override {
        std::string bytes(length, '\0');
        size_t done = 0;
        while (done < length) {
            const ssize_t got =
                ::pread(fd_.get(), bytes.data() + done, length - done, off_t(offset + done));
            if (got < 0) {
                if (errno == EINTR) {
                    continue;
                }
                Throw(errno, "cannot read", path_);
            }
            if (got == 0) {
                bytes.resize(done);
                break;
            }
            done += size_t(got);
        }
        return bytes;
    }

    uint64_t Size() override {
        struct stat status {};
        if (::fstat(fd_.get(), &status) != 0) {
            Throw(errno, "cannot examine", path_);
        }
        return uint64_t(status.st_size);
    }

    void Truncate(uint64_t size) override {
        if (::ftruncate(fd_.get(), off_t(size)) != 0) {
            Throw(errno, "cannot set the size of", path_);
        }
    }

    void Flush() override { FlushFile(fd_.get(), path_); }

    void Close() override {
        if (::close(fd_.release()) != 0 && errno != EINTR) {
            Throw(errno, "cannot close", path_);
        }
    }

  private:
    // Hands what was written so far to the disk in large steps while the
    // writing goes on, so that the flush at the end waits only for the rest.
    void StartWriteBack(uint64_t end) {
        constexpr uint64_t kStep = 8 << 20;
        if (end < writtenBack_ + kStep) {
            return;
        }
        // Only a hint: where the system cannot, the flush does it all.
        ::sync_file_range(fd_.get(), off_t(writtenBack_), off_t(end - writtenBack_),
                          SYNC_FILE_RANGE_WRITE);
        writtenBack_ = end;
    }

    uint64_t writtenBack_ = 0;  // the file up to here is on its way to the disk
    UniqueFd fd_;
    std::filesystem::path path_;
};

std::unique_ptr<WritableFile> OpenWritable(const std::filesystem::path& file, int flags,
                                           const char* action) {
    UniqueFd fd(::open(file.c_str(), flags | O_NOFOLLOW | O_CLOEXEC, kNewFileMode));
    if (fd.get() < 0) {
        Throw(errno, action, file);
    }
    struct stat status {};
    if (::fstat(fd.get(), &status) != 0) {
        Throw(errno, "cannot examine", file);
    }
    if (!S_ISREG(status.st_mode)) {
        throw std::system_error(std::make_error_code(std::errc::invalid_argument),
                                std::string(action) + " " + Quoted(file) + ": not a regular file");
    }
    return std::make_unique<PosixWritableFile>(std::move(fd), file);
}

struct DirectoryCloser {
    void operator()(DIR* directory) const { ::closedir(directory); }
};

class PosixFileSystem : public FileSystem {
  public:
    std::vector<std::filesystem::path> ListFiles(const std::filesystem::path& folder) override {
        const auto path = folder.empty() ? std::filesystem::path(".") : folder;
        const std::unique_ptr<DIR, DirectoryCloser> listing(::opendir(path.c_str()));
        if (!listing) {
            if (errno == ENOENT || errno == ENOTDIR) {
                return {};
            }
            Throw(errno, "cannot list", path);
        }
        std::vector<std::filesystem::path> names;
        for (;;) {
            errno = 0;
            const dirent* entry = ::readdir(listing.get());
            if (entry == nullptr) {
                if (errno != 0) {
                    Throw(errno, "cannot list", path);
                }
                return names;
            }
            const std::string_view name = entry->d_name;
            if (name != "." && name != ".." && IsRegularFile(listing.get(), *entry)) {
                names.emplace_back(name);
            }
        }
    }

    SourceOpening OpenSource(const std::filesystem::path& file) override {
        // O_NOFOLLOW: a link is refused. O_NONBLOCK: a FIFO does not block, and an
        // open that would have to break another holder's lease fails at once.
        UniqueFd fd(
            ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        if (fd.get() < 0) {
            const int error = errno;
            if (IsHeldError(error)) {
                return {nullptr, SourceRefusal::Busy, false, {}};
            }
            if (error == ELOOP || error == ENXIO) {
                return {nullptr, SourceRefusal::NotRegular, false, {}};
            }
            if (error == ENOENT) {
                return {nullptr, SourceRefusal::Missing, false, {}};
            }
            return {nullptr, SourceRefusal::Unreadable, false,
                    "cannot open: " + std::generic_category().message(error)};
        }
        struct stat status {};
        if (::fstat(fd.get(), &status) != 0) {
            return {nullptr, SourceRefusal::Unreadable, false,
                    "cannot examine: " + std::generic_category().message(errno)};
        }
        if (!S_ISREG(status.st_mode)) {
            return {nullptr, SourceRefusal::NotRegular, false, {}};
        }
        // The write lease is granted only while no other descriptor refers to
        // the file. Someone opening it while we hold it makes the kernel signal
        // us; the default signal (SIGIO) would end the process, SIGURG is
        // ignored unless a handler is installed.
        if (::fcntl(fd.get(), F_SETSIG, SIGURG) != 0) {
            Throw(errno, "cannot probe", file);
        }
        if (::fcntl(fd.get(), F_SETLEASE, F_WRLCK) == 0) {
            return {std::make_unique<PosixSourceFile>(std::move(fd), file, true),
                    SourceRefusal::None,
                    false,
                    {}};
        }
        if (IsHeldError(errno)) {
            return {nullptr, SourceRefusal::Busy, false, {}};
        }
        // Another user's file, or a file system without leases.
        return {std::make_unique<PosixSourceFile>(std::move(fd), file, false),
                SourceRefusal::None,
                true,
                {}};
    }

    std::unique_ptr<WritableFile> CreateNew(const std::filesystem::path& file) override {
        return OpenWritable(file, O_WRONLY | O_CREAT | O_EXCL, "cannot create");
    }

    std::unique_ptr<WritableFile> OpenExisting(const std::filesystem::path& file) override {
        return OpenWritable(file, O_RDWR, "cannot open");
    }

    std::optional<EntryStatus> Status(const std::filesystem::path& path) override {
        struct stat status {};
        if (::lstat(path.c_str(), &status) != 0) {
            if (errno == ENOENT || errno == ENOTDIR) {
                return std::nullopt;
            }
            Throw(errno, "cannot examine", path);
        }
        const EntryKind kind = S_ISREG(status.st_mode)   ? EntryKind::Regular
                               : S_ISDIR(status.st_mode) ? EntryKind::Folder
                                                         : EntryKind::Other;
        return EntryStatus{kind, IdentityOf(status)};
    }

    bool IsFolder(const std::filesystem::path& path) override {
        struct stat status {};
        if (::stat(path.c_str(), &status) != 0) {
            if (errno == ENOENT || errno == ENOTDIR) {
                return false;
            }
            Throw(errno, "cannot examine", path);
        }
        return S_ISDIR(status.st_mode);
    }

    bool Rename(const std::filesystem::path& from, const std::filesystem::path& to) override {
        if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
            return true;
        }
        if (errno == EEXIST) {
            return false;
        }
        if (errno != EINVAL && errno != ENOSYS) {
            Throw(errno, "cannot rename " + Quoted(from) + " to", to);
        }
        // A file system that cannot rename without replacing: a second name,
        // which is never made over an existing one, and then the first one goes.
        if (::link(from.c_str(), to.c_str()) != 0) {
            if (errno == EEXIST) {
                return false;
            }
            Throw(errno, "cannot rename " + Quoted(from) + " to", to);
        }
        if (::unlink(from.c_str()) != 0) {
            const int error = errno;
            ::unlink(to.c_str());
            Throw(error, "cannot rename " + Quoted(from) + " to", to);
        }
        return true;
    }

    void Remove(const std::filesystem::path& file) override {
        if (::unlink(file.c_str()) != 0) {
            Throw(errno, "cannot delete", file);
        }
    }

    void FlushFolder(const std::filesystem::path& folder) override { FlushDirectory(folder); }

  private:
    // The entry itself, not what a link points at, must be a regular file.
    static bool IsRegularFile(DIR* directory, const dirent& entry) {
        if (entry.d_type != DT_UNKNOWN) {
            return entry.d_type == DT_REG;
        }
        struct stat status {};
        return ::fstatat(::dirfd(directory), entry.d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 &&
               S_ISREG(status.st_mode);
    }
};

}  // namespace

FileSystem& SystemFileSystem() {
    static PosixFileSystem fileSystem;
    return fileSystem;
}

}  // namespace platform
