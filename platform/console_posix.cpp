#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "platform/console.h"

namespace platform {
namespace {

sigset_t StopSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    return signals;
}

}  // namespace

// Blocked in every thread (threads inherit the mask) and taken by
// sigtimedwait on the main thread only.
void CatchStopRequests() {
    const sigset_t signals = StopSignals();
    if (const int error = pthread_sigmask(SIG_BLOCK, &signals, nullptr); error != 0) {
        throw std::system_error(error, std::generic_category(), "cannot block stop signals");
    }
}

bool WaitForStopRequest(std::chrono::milliseconds timeout) {
    const sigset_t signals = StopSignals();
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(timeout);
    const timespec wait{seconds.count(), long(std::chrono::nanoseconds(timeout - seconds).count())};
    return sigtimedwait(&signals, nullptr, &wait) > 0;
}

bool PrepareProgressTerminal() {
    return ::isatty(STDERR_FILENO) != 0;
}

std::string ConsoleText(std::string_view utf8) {
    return std::string(utf8);
}

}  // namespace platform
