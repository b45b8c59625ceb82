#include "ui/win32/message_dispatcher.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <functional>
#include <thread>

#include "platform/system/thread.h"
#include "tests/ui/win32/test_window.h"
#include "ui/win32/led_bar.h"

namespace {

// Guards against a hang only: a message another thread sends is answered or
// the test fails instead of waiting for ever.
constexpr UINT kPatienceMilliseconds = 30000;
constexpr int kReports = 10;

class Worker : public platform::TThread {
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

// Asks the bar, as another program would, for its position from the
// worker's thread; -1 when the window's thread did not answer.
LRESULT AskPosition(HWND bar) {
    DWORD_PTR position = 0;
    if (::SendMessageTimeoutW(bar, PBM_GETPOS, 0, 0, SMTO_BLOCK, kPatienceMilliseconds,
                              &position) == 0) {
        return -1;
    }
    return LRESULT(position);
}

// The reports a worker hands over run on the window's thread through its
// message loop.
TEST(MessageDispatcher, TheMessageLoopRunsTheWorkersReports) {
    const TTestWindow window;
    const HWND bar = CreateLedBar(window.Handle(), 0, 0, 379, 30);
    const TMessageDispatcher dispatcher;
    const auto windowThread = std::this_thread::get_id();
    int reportsOnWindowThread = 0;
    bool done = false;
    Worker worker([&](Worker& self) {
        for (int i = 1; i <= kReports; ++i) {
            self.Synchronize([&, i] {
                reportsOnWindowThread += std::this_thread::get_id() == windowThread;
                ::SendMessageW(bar, PBM_SETPOS, i, 0);
            });
        }
        self.Synchronize([&] { done = true; });
    });
    while (!done) {
        PumpMessages();
    }
    worker.WaitFor();
    EXPECT_EQ(reportsOnWindowThread, kReports);
    EXPECT_EQ(::SendMessageW(bar, PBM_GETPOS, 0, 0), kReports);
}

// "Стоп" waits for the worker in WaitFor. Meanwhile the worker still reports,
// and the window answers what is sent to it (here by the worker itself, as a
// program reading the window would): neither may wait for the other.
TEST(MessageDispatcher, WaitForServesReportsAndAnswersTheWindowsMessages) {
    const TTestWindow window;
    const HWND bar = CreateLedBar(window.Handle(), 0, 0, 379, 30);
    const TMessageDispatcher dispatcher;
    int reports = 0;
    LRESULT answered = -1;
    Worker worker([&](Worker& self) {
        while (!self.Terminated()) {
            std::this_thread::yield();
        }
        for (int i = 1; i <= kReports; ++i) {
            self.Synchronize([&, i] {
                ++reports;
                ::SendMessageW(bar, PBM_SETPOS, i, 0);
            });
        }
        answered = AskPosition(bar);
    });
    worker.Terminate();
    worker.WaitFor();
    EXPECT_EQ(reports, kReports);
    EXPECT_EQ(answered, kReports);
}

}  // namespace
