// A worker over a workspace with one update type of the numbered-code
// format, run for one pass at a time, and what it shows.
#pragma once

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "engine/delta.h"
#include "tests/engine/worker_fixture.h"

// Records what the worker shows (on its own thread: no dispatcher is
// installed) and can stop the worker when a caption begins with a given text.
class SharedStatus : public TStatusPane, public TProgressBar {
  public:
    void SetCaption(const AnsiString& text) override {
        std::unique_lock lock(mutex_);
        captions_.push_back(text);
        if (!stopAt_.empty() && text.rfind(stopAt_, 0) == 0) {
            changed_.wait(lock, [this] { return worker_ != nullptr; });
            worker_->Terminate();
        }
        changed_.notify_all();
    }
    void SetPercent(int16_t percent) override {
        std::lock_guard lock(mutex_);
        percents_.push_back(percent);
    }

    void StopAt(const AnsiString& prefix) { stopAt_ = prefix; }
    void Attach(platform::TThread& worker) {
        std::lock_guard lock(mutex_);
        worker_ = &worker;
        changed_.notify_all();
    }
    void WaitForCaptions(size_t count) {
        std::unique_lock lock(mutex_);
        ASSERT_TRUE(changed_.wait_for(lock, std::chrono::seconds(30),
                                      [&] { return captions_.size() >= count; }));
    }
    std::vector<AnsiString> Captions() {
        std::lock_guard lock(mutex_);
        return captions_;
    }
    std::vector<int16_t> Percents() {
        std::lock_guard lock(mutex_);
        return percents_;
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<AnsiString> captions_;
    std::vector<int16_t> percents_;
    AnsiString stopAt_;
    platform::TThread* worker_ = nullptr;
};

class DeltaTest : public ::testing::Test {
  protected:
    DeltaTest() {
        type_ = ws_.AddType(config_, "t", 0, "");
        type_->Mask = "*.*";
        type_->Add("A", 5, 1, 1);
        type_->Add("B", 5, 2, 2);
    }

    // One pass of a worker over the saved configuration, stopped when it
    // shows a caption that begins with `stopAt`; returns what it showed last.
    AnsiString RunOnce(const AnsiString& stopAt = "") {
        config_.Save(ws_.Store());
        SharedStatus status;
        status.StopAt(stopAt);
        TDelta worker(status, status, ws_.Settings());
        status.Attach(worker);
        worker.WaitFor();
        return status.Captions().back();
    }

    void Source(const std::string& name, const std::string& text) const {
        ws_.Write(std::filesystem::path("in") / name, text);
    }

    WorkerWorkspace ws_;
    TDL config_;
    TDD* type_;
};
