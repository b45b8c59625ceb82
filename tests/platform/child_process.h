// Other processes for tests of what one process sees of another: a child
// that takes something and holds it until released or killed, and a child
// that just answers one question.
#pragma once

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace child_process {

// How long a test waits for a child before it fails.
constexpr int kPatienceMs = 30'000;

// Runs `question` in a forked child; returns its answer (false as well when
// the child died).
inline bool AskChild(const std::function<bool()>& question) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::_exit(question() ? 0 : 1);
    }
    EXPECT_GT(pid, 0) << "fork failed";
    int status = 0;
    return pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

// A child that runs `take` and then, when it took what it should, holds it
// until Release() or Kill().
class HoldingChild {
  public:
    explicit HoldingChild(const std::function<bool()>& take) {
        int ready[2];
        int release[2];
        if (::pipe(ready) != 0 || ::pipe(release) != 0) {
            ADD_FAILURE() << "pipe failed";
            return;
        }
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(ready[0]);
            ::close(release[1]);
            const char answer = take() ? 'y' : 'n';
            if (::write(ready[1], &answer, 1) != 1) {
                ::_exit(2);
            }
            char ignored;
            while (::read(release[0], &ignored, 1) > 0) {
            }
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(release[0]);
        ready_ = ready[0];
        release_ = release[1];
        EXPECT_GT(pid_, 0) << "fork failed";
    }
    ~HoldingChild() { Release(); }
    HoldingChild(const HoldingChild&) = delete;
    HoldingChild& operator=(const HoldingChild&) = delete;

    // Waits until the child has tried; true when it took it.
    bool Took() {
        pollfd wait{ready_, POLLIN, 0};
        char answer = 'n';
        const bool answered = ::poll(&wait, 1, kPatienceMs) == 1 && ::read(ready_, &answer, 1) == 1;
        EXPECT_TRUE(answered) << "the child did not answer";
        return answer == 'y';
    }

    // Lets the child end on its own and waits for it.
    void Release() {
        if (release_ >= 0) {
            ::close(release_);
            release_ = -1;
        }
        Reap();
    }

    void Kill() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
        }
        Release();
    }

  private:
    void Reap() {
        if (pid_ > 0) {
            int status = 0;
            ::waitpid(pid_, &status, 0);
            pid_ = -1;
        }
        if (ready_ >= 0) {
            ::close(ready_);
            ready_ = -1;
        }
    }

    pid_t pid_ = -1;
    int ready_ = -1;
    int release_ = -1;
};

}  // namespace child_process
