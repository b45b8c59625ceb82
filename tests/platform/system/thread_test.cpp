#include "platform/system/thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>

namespace platform {
namespace {

using namespace std::chrono_literals;

constexpr auto kPatience = 30s;

// A thread whose body the test gives; it ends the thread before the body goes,
// as every derived class must.
class Worker : public TThread {
  public:
    explicit Worker(std::function<void(Worker&)> body) : body_(std::move(body)) { Start(); }
    ~Worker() override {
        Terminate();
        WaitFor();
    }
    using TThread::Synchronize;

  protected:
    void Execute() override { body_(*this); }

  private:
    std::function<void(Worker&)> body_;
};

// Plays the window: installs the dispatcher on the test's thread and records
// the wake-ups it would post itself.
class Host {
  public:
    Host() {
        InstallMainThreadDispatcher([this] {
            {
                const std::lock_guard lock(mutex_);
                ++wakes_;
            }
            woken_.notify_all();
        });
    }
    ~Host() { RemoveMainThreadDispatcher(); }

    // Waits for the next wake-up; false when none came in time.
    bool AwaitWake() {
        std::unique_lock lock(mutex_);
        if (!woken_.wait_for(lock, kPatience, [this] { return wakes_ > seen_; })) {
            return false;
        }
        ++seen_;
        return true;
    }

  private:
    std::mutex mutex_;
    std::condition_variable woken_;
    int wakes_ = 0;
    int seen_ = 0;
};

// Ends the test program when a wait hangs (a deadlock) instead of letting it
// sit until the test runner's timeout.
class HangGuard {
  public:
    HangGuard()
        : watcher_([this] {
              std::unique_lock lock(mutex_);
              if (!done_cv_.wait_for(lock, kPatience, [this] { return done_; })) {
                  std::fputs("the test hung\n", stderr);
                  std::_Exit(1);
              }
          }) {}
    ~HangGuard() {
        {
            const std::lock_guard lock(mutex_);
            done_ = true;
        }
        done_cv_.notify_all();
        watcher_.join();
    }

  private:
    std::mutex mutex_;
    std::condition_variable done_cv_;
    bool done_ = false;
    std::thread watcher_;
};

void SleepUntilTerminated(const TThread& thread) {
    while (!thread.Terminated()) {
        std::this_thread::sleep_for(1ms);
    }
}

TEST(Synchronize, WithoutDispatcherRunsOnTheCallingThread) {
    std::thread::id workerThread;
    std::thread::id methodThread;
    Worker worker([&](Worker& self) {
        workerThread = std::this_thread::get_id();
        self.Synchronize([&] { methodThread = std::this_thread::get_id(); });
    });
    worker.WaitFor();
    EXPECT_EQ(methodThread, workerThread);
    EXPECT_NE(methodThread, std::this_thread::get_id());
}

TEST(Synchronize, RunsOnTheMainThreadWhileTheWorkerWaits) {
    Host host;
    const auto mainThread = std::this_thread::get_id();
    constexpr int kReports = 20;
    int reportsOnMain = 0;  // written only by the hand-overs
    int reportsSeenByWorker = -1;
    Worker worker([&](Worker& self) {
        for (int i = 0; i < kReports; ++i) {
            self.Synchronize([&] { reportsOnMain += std::this_thread::get_id() == mainThread; });
        }
        reportsSeenByWorker = reportsOnMain;
    });
    for (int i = 0; i < kReports; ++i) {
        ASSERT_TRUE(host.AwaitWake());
        EXPECT_TRUE(CheckSynchronize());
    }
    worker.WaitFor();
    EXPECT_EQ(reportsOnMain, kReports);
    EXPECT_EQ(reportsSeenByWorker, kReports);
    EXPECT_FALSE(CheckSynchronize());
}

// The stopping main thread blocks in WaitFor while the worker still reports
// progress and makes its final report: WaitFor must serve them.
TEST(Synchronize, WaitForOnTheMainThreadServesReportsUntilTheEnd) {
    Host host;
    const auto mainThread = std::this_thread::get_id();
    std::thread::id finalReportThread;
    Worker worker([&](Worker& self) {
        while (!self.Terminated()) {
            self.Synchronize([] {});
        }
        self.Synchronize([&] { finalReportThread = std::this_thread::get_id(); });
    });
    ASSERT_TRUE(host.AwaitWake());  // the worker is reporting
    {
        HangGuard guard;
        worker.Terminate();
        worker.WaitFor();
    }
    EXPECT_TRUE(worker.Finished());
    EXPECT_EQ(finalReportThread, mainThread);
}

// Plays a window that waits for its messages: inside WaitFor the pump is the
// only way the main thread waits, and the wake-ups are the messages it gets.
class PumpingHost {
  public:
    PumpingHost() {
        InstallMainThreadDispatcher(
            [this] {
                {
                    const std::lock_guard lock(mutex_);
                    ++wakes_;
                }
                woken_.notify_all();
            },
            [this] { Pump(); });
    }
    ~PumpingHost() { RemoveMainThreadDispatcher(); }

    int Pumped() const { return pumped_; }

  private:
    // One message: waits for a wake-up and serves what it asks for.
    void Pump() {
        {
            std::unique_lock lock(mutex_);
            woken_.wait(lock, [this] { return wakes_ > seen_; });
            ++seen_;
        }
        ++pumped_;
        CheckSynchronize();
    }

    std::mutex mutex_;
    std::condition_variable woken_;
    int wakes_ = 0;
    int seen_ = 0;
    int pumped_ = 0;  // main thread only
};

// A window that waits for the worker in its message loop still answers the
// worker's reports, and the worker's end lets that wait return.
TEST(Synchronize, WaitForWaitsInTheHostsPump) {
    PumpingHost host;
    const auto mainThread = std::this_thread::get_id();
    constexpr int kReports = 20;
    int reportsOnMain = 0;
    Worker worker([&](Worker& self) {
        SleepUntilTerminated(self);
        for (int i = 0; i < kReports; ++i) {
            self.Synchronize([&] { reportsOnMain += std::this_thread::get_id() == mainThread; });
        }
    });
    {
        HangGuard guard;
        worker.Terminate();
        worker.WaitFor();
    }
    EXPECT_TRUE(worker.Finished());
    EXPECT_EQ(reportsOnMain, kReports);
    EXPECT_GE(host.Pumped(), 1);
}

TEST(Synchronize, WorkerEndingWithoutReportsEndsThePumpsWait) {
    PumpingHost host;
    Worker worker([](Worker& self) { SleepUntilTerminated(self); });
    {
        HangGuard guard;
        worker.Terminate();
        worker.WaitFor();
    }
    EXPECT_TRUE(worker.Finished());
}

TEST(Synchronize, ExceptionOfTheMethodIsThrownInTheWorker) {
    Host host;
    std::string caught;
    Worker worker([&](Worker& self) {
        try {
            self.Synchronize([] { throw std::runtime_error("pane is gone"); });
        } catch (const std::runtime_error& error) {
            caught = error.what();
        }
    });
    ASSERT_TRUE(host.AwaitWake());
    EXPECT_TRUE(CheckSynchronize());
    worker.WaitFor();
    EXPECT_EQ(caught, "pane is gone");
}

TEST(Synchronize, OnTheMainThreadRunsDirectly) {
    Host host;
    Worker worker([](Worker& self) { SleepUntilTerminated(self); });
    bool ran = false;
    worker.Synchronize([&] { ran = true; });
    EXPECT_TRUE(ran);
    EXPECT_FALSE(CheckSynchronize());
}

TEST(Synchronize, RemovingTheDispatcherServesWaitingCalls) {
    std::thread::id methodThread;
    std::optional<Host> host(std::in_place);
    Worker worker([&](Worker& self) {
        self.Synchronize([&] { methodThread = std::this_thread::get_id(); });
    });
    ASSERT_TRUE(host->AwaitWake());
    host.reset();
    worker.WaitFor();
    EXPECT_EQ(methodThread, std::this_thread::get_id());
}

TEST(Synchronize, FailingWakeIsThrownInTheWorker) {
    InstallMainThreadDispatcher([] { throw std::runtime_error("no event loop"); });
    std::string caught;
    {
        Worker worker([&](Worker& self) {
            try {
                self.Synchronize([] {});
            } catch (const std::runtime_error& error) {
                caught = error.what();
            }
        });
        HangGuard guard;
        worker.WaitFor();
    }
    RemoveMainThreadDispatcher();
    EXPECT_EQ(caught, "no event loop");
}

TEST(Dispatcher, MisuseIsRefused) {
    EXPECT_FALSE(CheckSynchronize());  // none installed
    EXPECT_THROW(InstallMainThreadDispatcher(nullptr), std::invalid_argument);
    Host host;
    EXPECT_THROW(InstallMainThreadDispatcher([] {}), std::logic_error);
    bool threwOutsideMain = false;
    std::thread other([&] {
        try {
            CheckSynchronize();
        } catch (const std::logic_error&) {
            threwOutsideMain = true;
        }
    });
    other.join();
    EXPECT_TRUE(threwOutsideMain);
}

TEST(TThread, ExecuteSeesTerminate) {
    std::atomic<bool> sawTerminate = false;
    Worker worker([&](Worker& self) {
        SleepUntilTerminated(self);
        sawTerminate = true;
    });
    EXPECT_FALSE(worker.Finished());
    EXPECT_FALSE(worker.Terminated());
    worker.Terminate();
    worker.WaitFor();
    EXPECT_TRUE(worker.Finished());
    EXPECT_TRUE(sawTerminate);
    worker.WaitFor();  // once ended, at once
}

TEST(TThread, WaitFinishedTellsWhetherTheThreadEndedInTime) {
    HangGuard guard;
    std::mutex mutex;
    std::condition_variable released;
    bool release = false;
    Worker worker([&](Worker&) {
        std::unique_lock lock(mutex);
        released.wait(lock, [&] { return release; });
    });
    EXPECT_FALSE(worker.WaitFinished(10ms));  // held in its body
    {
        const std::lock_guard lock(mutex);
        release = true;
    }
    released.notify_all();
    EXPECT_TRUE(worker.WaitFinished(kPatience));  // its end wakes the wait
    EXPECT_TRUE(worker.Finished());
    worker.WaitFor();
}

TEST(TThread, ExceptionEscapingExecuteEndsTheThreadAndIsReported) {
    testing::internal::CaptureStderr();
    Worker worker([](Worker&) { throw std::runtime_error("disk gone"); });
    worker.WaitFor();
    EXPECT_NE(testing::internal::GetCapturedStderr().find("disk gone"), std::string::npos);
    EXPECT_TRUE(worker.Finished());
}

// A thread class that leaves the waiting to the base destructor; its body
// uses nothing of the derived part, which is gone by then.
std::atomic<bool> gIdlerStarted = false;
std::atomic<bool> gIdlerEnded = false;

class Idler : public TThread {
  public:
    Idler() { Start(); }

  protected:
    void Execute() override {
        gIdlerStarted = true;
        SleepUntilTerminated(*this);
        gIdlerEnded = true;
    }
};

TEST(TThread, DestructorEndsAThreadNobodyWaitedFor) {
    gIdlerStarted = false;
    gIdlerEnded = false;
    {
        Idler idler;
        // Execute must have been entered before the derived part goes.
        for (auto waited = 0ms; !gIdlerStarted; waited += 1ms) {
            ASSERT_LT(waited, kPatience) << "the thread did not start";
            std::this_thread::sleep_for(1ms);
        }
    }
    EXPECT_TRUE(gIdlerEnded);
}

}  // namespace
}  // namespace platform
