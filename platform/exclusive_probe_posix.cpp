#include "platform/exclusive_probe.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <system_error>

#include "platform/unique_fd.h"

namespace platform {
namespace {

bool IsHeldError(int error) {
    return error == EAGAIN || error == EWOULDBLOCK || error == EBUSY;
}

bool ModifiedWithinTwoSeconds(const struct stat& status) {
    using namespace std::chrono;
    const auto modified = system_clock::time_point(duration_cast<system_clock::duration>(
        seconds(status.st_mtim.tv_sec) + nanoseconds(status.st_mtim.tv_nsec)));
    return modified > system_clock::now() - seconds(2);
}

}  // namespace

ProbeResult ProbeExclusiveOpen(const std::filesystem::path& file) {
    // O_NONBLOCK: an open that would have to break another holder's lease
    // fails at once instead of waiting, and a FIFO does not block.
    const UniqueFd fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0) {
        return IsHeldError(errno) ? ProbeResult::Busy : ProbeResult::CannotOpen;
    }
    struct stat status {};
    if (::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return ProbeResult::CannotOpen;
    }
    // Someone opening the file while we hold the lease makes the kernel signal
    // us; the default signal (SIGIO) would end the process, SIGURG is ignored
    // unless a handler is installed.
    if (::fcntl(fd.get(), F_SETSIG, SIGURG) != 0) {
        const int error = errno;
        throw std::system_error(error, std::generic_category(), "cannot probe " + file.string());
    }
    if (::fcntl(fd.get(), F_SETLEASE, F_WRLCK) == 0) {
        return ProbeResult::Free;  // closing the descriptor now releases the lease
    }
    if (IsHeldError(errno)) {
        return ProbeResult::Busy;
    }
    return ModifiedWithinTwoSeconds(status) ? ProbeResult::Busy : ProbeResult::Free;
}

}  // namespace platform
