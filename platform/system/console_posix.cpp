#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "platform/system/console.h"

namespace platform {
namespace {

// Sent by the process to itself to end the wait; no stop request.
constexpr int kWaitEnd = SIGUSR1;

// The stop signals and the wait's end.
sigset_t WaitedSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, kWaitEnd);
    return signals;
}

}  // namespace

// Blocked in every thread (threads inherit the mask) and taken by
// sigtimedwait on the main thread only.
void CatchStopRequests() {
    const sigset_t signals = WaitedSignals();
    if (const int error = pthread_sigmask(SIG_BLOCK, &signals, nullptr); error != 0) {
        throw std::system_error(error, std::generic_category(), "cannot block stop signals");
    }
}

bool WaitForStopRequest(std::chrono::milliseconds timeout) {
    const sigset_t signals = WaitedSignals();
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(timeout);
    const timespec wait{seconds.count(), long(std::chrono::nanoseconds(timeout - seconds).count())};
    const int signal = sigtimedwait(&signals, nullptr, &wait);
    return signal > 0 && signal != kWaitEnd;
}

void EndStopRequestWait() {
    // Pending for the process until the wait takes it, however late that is.
    if (::kill(::getpid(), kWaitEnd) != 0) {
        throw std::system_error(errno, std::generic_category(), "cannot end the wait");
    }
}

bool PrepareProgressTerminal() {
    return ::isatty(STDERR_FILENO) != 0;
}

std::string ConsoleText(std::string_view utf8) {
    return std::string(utf8);
}

}  // namespace platform
