#include "ui/qt/qt_dispatcher.h"

#include <gtest/gtest.h>

#include <QThread>
#include <atomic>
#include <optional>

#include "event_wait.h"
#include "platform/system/thread.h"

namespace {

// A worker that hands one call to the main thread and notes where it ran.
class HandingWorker : public platform::TThread {
  public:
    HandingWorker() { Start(); }
    ~HandingWorker() override { WaitFor(); }

    std::atomic<QThread*> ranOn{nullptr};
    std::atomic<bool> returned{false};

  protected:
    void Execute() override {
        Synchronize([this] { ranOn = QThread::currentThread(); });
        returned = true;
    }
};

TEST(TQtDispatcher, TheEventLoopRunsTheHandOverWhileTheWorkerWaits) {
    const TQtDispatcher dispatcher;
    HandingWorker worker;
    ASSERT_TRUE(ProcessEventsUntil([&] { return worker.Finished(); }));
    EXPECT_EQ(worker.ranOn.load(), QThread::currentThread());
    EXPECT_TRUE(worker.returned);
}

TEST(TQtDispatcher, GoneWithTheObject) {
    std::optional<TQtDispatcher> dispatcher(std::in_place);
    dispatcher.reset();
    // A hand-over now runs on the worker's own thread.
    HandingWorker worker;
    worker.WaitFor();
    EXPECT_NE(worker.ranOn.load(), QThread::currentThread());
    EXPECT_NO_THROW(dispatcher.emplace());
}

}  // namespace
