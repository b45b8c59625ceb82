// Stop requests on POSIX systems: the signals SIGINT and SIGTERM, and the
// signal that ends the wait for them.
#include <pthread.h>
#include <signal.h>

#include <gtest/gtest.h>

#include <chrono>

#include "platform/system/console.h"

namespace platform {
namespace {

using namespace std::chrono_literals;

// The signal mask of the test program as it was, back after the test:
// children it starts later would inherit blocked stop signals.
class SavedSignalMask {
  public:
    SavedSignalMask() { pthread_sigmask(SIG_BLOCK, nullptr, &mask_); }
    ~SavedSignalMask() { pthread_sigmask(SIG_SETMASK, &mask_, nullptr); }

  private:
    sigset_t mask_{};
};

bool Pending(int signal) {
    sigset_t pending;
    sigpending(&pending);
    return sigismember(&pending, signal) == 1;
}

TEST(StopRequests, TheWaitsEndIsNoStopRequestAndAStopStillCounts) {
    const SavedSignalMask saved;
    CatchStopRequests();
    EndStopRequestWait();
    ASSERT_TRUE(Pending(SIGUSR1));  // posted for a wait that comes later
    EXPECT_FALSE(WaitForStopRequest(30s));
    EXPECT_FALSE(Pending(SIGUSR1));  // the wait ended by it, not by its time
    raise(SIGTERM);
    EXPECT_TRUE(WaitForStopRequest(30s));
}

}  // namespace
}  // namespace platform
