#include "ui/forms/main_form.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/engine/worker_fixture.h"
#include "tests/ui/forms/main_thread.h"

namespace {

const std::u16string kStopped = u"Программа остановлена";
const std::u16string kRunning = u"Программа запущена";
const std::u16string kStopping = u"Завершение работы. Подождите...";

constexpr TMainActions kStoppedActions{.Start = true, .Region = true, .Exit = true};
constexpr TMainActions kRunningActions{.Stop = true};

// A main window that records what its form told it; the worker's reports
// arrive on the test's thread.
class FakeMainView : public TMainView, public TStatusPane, public TProgressBar {
  public:
    void EnableActions(const TMainActions& enabled) override { actions = enabled; }
    void SetStatus(std::u16string_view text) override { statuses.emplace_back(text); }
    TStatusPane& WorkerPane() override { return *this; }
    TProgressBar& WorkerBar() override { return *this; }
    void RunUpdateList() override { ++updateListRuns; }
    void CloseWindow() override { ++closeRequests; }
    void Note(const std::string& text) override { notes.push_back(text); }

    void SetCaption(const AnsiString& text) override {
        caption = text;
        if (onReport) {
            onReport();
        }
    }
    void SetPercent(int16_t value) override { percent = value; }

    TMainActions actions;
    std::vector<std::u16string> statuses;
    int updateListRuns = 0;
    int closeRequests = 0;
    std::vector<std::string> notes;
    AnsiString caption;
    int16_t percent = -1;
    std::function<void()> onReport;  // after each report of the worker
};

class MainFormTest : public ::testing::Test {
  protected:
    // A form over the workspace's store; its workers count down quickly and
    // go on until stopped unless `singlePass`.
    std::unique_ptr<TMainForm> Form(bool autoRun, bool singlePass = false) {
        TDL config;
        config.AutoRun = autoRun;
        config.Save(ws_.Store());
        TDeltaSettings settings = ws_.Settings();
        settings.SinglePass = singlePass;
        return std::make_unique<TMainForm>(view_, std::move(settings));
    }

    void ExpectStopped(const TMainForm& form) {
        EXPECT_EQ(view_.actions, kStoppedActions);
        ASSERT_FALSE(view_.statuses.empty());
        EXPECT_EQ(view_.statuses.back(), kStopped);
        EXPECT_EQ(form.Worker(), nullptr);
        EXPECT_NE(form.CanExit, 0);
        EXPECT_TRUE(form.CloseQuery());
    }

    // While running, and while stopping.
    void ExpectRunning(const TMainForm& form) {
        EXPECT_EQ(view_.actions, kRunningActions);
        EXPECT_NE(form.Worker(), nullptr);
        EXPECT_EQ(form.CanExit, 0);
        EXPECT_FALSE(form.CloseQuery());
    }

    bool CountingDown() const {
        return view_.caption.starts_with("\xCE\xE6\xE8\xE4\xE0\xED\xE8\xE5 ");
    }

    TestMainThread mainThread_;
    WorkerWorkspace ws_;
    FakeMainView view_;
};

TEST_F(MainFormTest, ComesUpStoppedWithoutAutoRun) {
    const auto form = Form(false);
    ExpectStopped(*form);
    form->FormShow();
    ExpectStopped(*form);
    EXPECT_TRUE(view_.notes.empty());
}

TEST_F(MainFormTest, AutoRunStartsOnTheFirstShowOnly) {
    const auto form = Form(true);
    ExpectStopped(*form);
    form->FormShow();
    EXPECT_EQ(view_.statuses.back(), kRunning);
    ExpectRunning(*form);
    const TDelta* worker = form->Worker();
    form->FormShow();
    EXPECT_EQ(form->Worker(), worker);
    form->StopExecute();
    ExpectStopped(*form);
}

TEST_F(MainFormTest, StartRunsTheWorkerAndCloseIsRefusedUntilStop) {
    const auto form = Form(false);
    form->StartExecute();
    EXPECT_EQ(view_.statuses.back(), kRunning);
    ExpectRunning(*form);
    ASSERT_TRUE(TestMainThread::ServeUntil([&] { return CountingDown(); }));
    EXPECT_TRUE(view_.caption.ends_with(" \xF1\xE5\xEA\xF3\xED\xE4"));  // " секунд"
    form->StopExecute();
    ExpectStopped(*form);
    EXPECT_EQ(view_.percent, 0);
    EXPECT_EQ(view_.caption, "");
}

// "Стоп" stays enabled while the form waits for the worker; a press that
// arrives during the wait (through a hand-over the wait runs) does nothing.
TEST_F(MainFormTest, StopPressedWhileStoppingDoesNothing) {
    const auto form = Form(false);
    form->StartExecute();
    ASSERT_TRUE(TestMainThread::ServeUntil([&] { return CountingDown(); }));
    int reportsWhileStopping = 0;
    size_t statusesBefore = 0;
    view_.onReport = [&] {
        if (view_.statuses.back() != kStopping) {
            return;
        }
        ++reportsWhileStopping;
        ExpectRunning(*form);
        statusesBefore = view_.statuses.size();
        form->StopExecute();
        EXPECT_EQ(view_.statuses.size(), statusesBefore);
        ExpectRunning(*form);
    };
    form->StopExecute();
    view_.onReport = nullptr;
    EXPECT_GE(reportsWhileStopping, 1);  // the worker's last report came during the wait
    ExpectStopped(*form);
    // Stopping, then stopped once.
    ASSERT_EQ(view_.statuses.size(), statusesBefore + 1);
    EXPECT_EQ(view_.statuses[statusesBefore - 1], kStopping);
    EXPECT_EQ(view_.percent, 0);
    form->StopExecute();
    ExpectStopped(*form);
}

TEST_F(MainFormTest, WorkerThatEndedByItselfStillShowsRunningUntilStop) {
    const auto form = Form(false, true);
    form->StartExecute();
    ASSERT_TRUE(TestMainThread::ServeUntil([&] { return form->Worker()->Finished(); }));
    ExpectRunning(*form);
    form->StopExecute();
    ExpectStopped(*form);
}

TEST_F(MainFormTest, RegionOpensTheUpdateListAndExitAsksTheWindowToClose) {
    const auto form = Form(false);
    form->RegionExecute();
    EXPECT_EQ(view_.updateListRuns, 1);
    form->ExitExecute();
    EXPECT_EQ(view_.closeRequests, 1);
    ExpectStopped(*form);
}

// A worker still running when the window goes is ended, its last reports
// served.
TEST_F(MainFormTest, DestroyingTheFormEndsItsWorker) {
    auto form = Form(false);
    form->StartExecute();
    ASSERT_TRUE(TestMainThread::ServeUntil([&] { return CountingDown(); }));
    form.reset();
    EXPECT_EQ(view_.caption, "");
    EXPECT_EQ(view_.percent, 0);
}

}  // namespace
