#include "platform/journal_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <optional>
#include <stdexcept>
#include <system_error>

#include "platform/unique_fd.h"
#include "platform/whole_file.h"

namespace platform {

namespace {

[[noreturn]] void Fail(const std::string& action, const std::filesystem::path& file) {
    throw std::system_error(errno, std::generic_category(),
                            "cannot " + action + " " + file.string());
}

std::filesystem::path PreviousFile(const std::filesystem::path& journal) {
    return journal.string() + ".1";
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
    if (::rename(journal.c_str(), PreviousFile(journal).c_str()) != 0) {
        Fail("rotate", journal);
    }
    return true;  // the lock goes with the descriptor
}

// Adds the last lines of `bytes` in front of `lines` until it holds `count`.
void TakeLastLines(std::string_view bytes, size_t count, std::vector<std::string>& lines) {
    if (!bytes.empty() && bytes.back() == '\n') {
        bytes.remove_suffix(1);
    }
    std::vector<std::string> taken;
    while (!bytes.empty() && lines.size() + taken.size() < count) {
        const size_t start = bytes.rfind('\n');
        const size_t from = start == std::string_view::npos ? 0 : start + 1;
        taken.emplace_back(bytes.substr(from));
        bytes = bytes.substr(0, start == std::string_view::npos ? 0 : start);
    }
    lines.insert(lines.begin(), taken.rbegin(), taken.rend());
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

std::vector<std::string> LastJournalLines(const std::filesystem::path& journal, size_t count) {
    std::vector<std::string> lines;
    TakeLastLines(ReadWholeFileIfPresent(journal).value_or(std::string()), count, lines);
    if (lines.size() < count) {
        TakeLastLines(ReadWholeFileIfPresent(PreviousFile(journal)).value_or(std::string()), count,
                      lines);
    }
    return lines;
}

std::string LocalTimeWithOffset(std::chrono::system_clock::time_point time) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
    std::tm local{};
    if (::localtime_r(&seconds, &local) == nullptr) {
        throw std::system_error(errno, std::generic_category(), "cannot tell the local time");
    }
    char text[40];
    const size_t length = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S%z", &local);
    if (length < 5) {
        throw std::runtime_error("cannot format the local time");
    }
    // +0300 becomes +03:00 (appended, not inserted: GCC 12 at -O3 warns falsely on that).
    std::string stamp(text, length - 2);
    stamp += ':';
    stamp.append(text + length - 2, 2);
    return stamp;
}

}  // namespace platform
