#include "platform/files/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>

#include "platform/files/internal/file_sync_posix.h"

namespace platform {
namespace {

[[noreturn]] void Fail(int error, const std::string& action, const std::filesystem::path& name) {
    throw std::system_error(error, std::generic_category(),
                            "cannot " + action + " " + name.string());
}

// Writes, flushes and closes fd, which is closed also on a failure.
void WriteAndClose(int fd, std::string_view bytes, const std::filesystem::path& name) {
    try {
        while (!bytes.empty()) {
            const ssize_t written = ::write(fd, bytes.data(), bytes.size());
            if (written < 0) {
                if (errno == EINTR) {
                    continue;
                }
                Fail(errno, "write", name);
            }
            bytes.remove_prefix(size_t(written));
        }
        FlushFile(fd, name);
    } catch (...) {
        ::close(fd);
        throw;
    }
    if (::close(fd) != 0) {
        Fail(errno, "close", name);
    }
}

}  // namespace

void CreateFolders(const std::filesystem::path& folder) {
    if (folder.empty()) {
        return;
    }
    struct stat status {};
    if (::stat(folder.c_str(), &status) == 0) {
        if (!S_ISDIR(status.st_mode)) {
            Fail(ENOTDIR, "create the folder", folder);
        }
        return;
    }
    if (errno != ENOENT) {
        Fail(errno, "create the folder", folder);
    }
    CreateFolders(folder.parent_path());
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        Fail(errno, "create the folder", folder);
    }
}

bool WriteNewFile(const std::filesystem::path& file, std::string_view bytes) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        if (errno == EEXIST) {
            return false;
        }
        Fail(errno, "create", file);
    }
    try {
        WriteAndClose(fd, bytes, file);
    } catch (...) {
        ::unlink(file.c_str());
        throw;
    }
    return true;
}

void ReplaceFileAtomically(const std::filesystem::path& file, std::string_view bytes) {
    std::string temporary = file.string() + ".tmp-XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);  // mode 0600
    if (fd < 0) {
        Fail(errno, "create a temporary file for", file);
    }
    try {
        WriteAndClose(fd, bytes, temporary);
        if (::rename(temporary.c_str(), file.c_str()) != 0) {
            Fail(errno, "rename " + temporary + " to", file);
        }
    } catch (...) {
        ::unlink(temporary.c_str());
        throw;
    }
    FlushDirectory(file.parent_path());
}

}  // namespace platform
