#include "platform/files/journal_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <system_error>

#include "platform/system/unique_fd_posix.h"

namespace platform {

namespace {

[[noreturn]] void Fail(const std::string& action, const std::filesystem::path& file) {
    throw std::system_error(errno, std::generic_category(),
                            "cannot " + action + " " + file.string());
}

UniqueFd OpenForAppending(const std::filesystem::path& journal) {
    UniqueFd fd(::open(journal.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644));
    if (fd.get() < 0) {
        Fail("open", journal);
    }
    return fd;
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Called with the journal open as `fd` and found full. Under an exclusive lock
// on that file, renames it unless another writer has done so already. Returns
// false when `fd` is still the journal (not full after all, or the rename
// failed and the line goes where it is).
bool RotateFull(int fd, const std::filesystem::path& journal, std::uintmax_t rotateAt) {
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            Fail("lock", journal);
        }
    }
    struct stat open {};
    struct stat named {};
    if (::fstat(fd, &open) != 0) {
        Fail("examine", journal);
    }
    if (::stat(journal.c_str(), &named) != 0 || !SameFile(open, named)) {
        return true;  // rotated by another writer meanwhile: open the new one
    }
    if (std::uintmax_t(open.st_size) < rotateAt) {
        return false;
    }
    if (::rename(journal.c_str(), PreviousJournal(journal).c_str()) != 0) {
        Fail("rotate", journal);
    }
    return true;  // the lock goes with the descriptor
}

}  // namespace

void AppendJournalLine(const std::filesystem::path& journal, std::string_view line,
                       std::uintmax_t rotateAt) {
    std::filesystem::create_directories(journal.parent_path());
    std::optional<UniqueFd> fd(OpenForAppending(journal));
    // Another writer may rotate between our open and our check; a few rounds settle it.
    for (int round = 0; round < 3; ++round) {
        struct stat status {};
        if (::fstat(fd->get(), &status) != 0) {
            Fail("examine", journal);
        }
        if (std::uintmax_t(status.st_size) < rotateAt ||
            !RotateFull(fd->get(), journal, rotateAt)) {
            break;
        }
        fd.emplace(OpenForAppending(journal));
    }
    for (;;) {
        const ssize_t written = ::write(fd->get(), line.data(), line.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written < 0) {
            Fail("write to", journal);
        }
        if (size_t(written) != line.size()) {
            errno = ENOSPC;  // a short write to a regular file: the disk is full
            Fail("write to", journal);
        }
        return;
    }
}

}  // namespace platform
