// The window's worker, its status handed to the window through the Qt event
// loop, over thousands of passes: what the process holds stays flat.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>
#include <chrono>

#include "tests/long_run.h"
#include "ui/qt/main_window.h"

namespace {

constexpr int kPasses = 2000;

TEST(WindowLongRun, ResourcesStayFlatFromPassToPass) {
    LongRun run(kPasses);
    TfmMain window(run.Settings());
    window.Start->trigger();
    QTimer wake;  // lets the loop look again when no event arrives
    wake.start(std::chrono::milliseconds(10));
    const QDeadlineTimer patience(std::chrono::minutes(5));
    while (!run.Done() && !patience.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    window.Stop->trigger();
    ExpectFlat(run);
}

}  // namespace
