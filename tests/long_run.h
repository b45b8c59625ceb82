// A converter left running as a service makes a pass a minute for weeks. A
// long run makes its passes back to back (a countdown tick of nothing), with
// one small delivery converted in each, and takes the process's resources
// after the tenth pass and after the last: heap in use, open descriptors,
// threads. Linux only: it reads /proc/self.
#pragma once

#include <gtest/gtest.h>
#include <malloc.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <iterator>
#include <mutex>
#include <ostream>
#include <string>

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer's runtime has it; GCC ships no header that declares it.
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

#include "tests/engine/worker_fixture.h"

struct ProcessResources {
    size_t heapBytes = 0;  // allocated and not yet freed
    size_t descriptors = 0;
    size_t threads = 0;

    friend std::ostream& operator<<(std::ostream& out, const ProcessResources& r) {
        return out << r.heapBytes << " bytes of heap, " << r.descriptors << " descriptors, "
                   << r.threads << " threads";
    }
};

inline ProcessResources CurrentResources() {
    const auto count = [](const char* folder) {
        const std::filesystem::directory_iterator entries(folder);
        return size_t(std::distance(begin(entries), end(entries)));
    };
    ProcessResources now;
#if defined(__SANITIZE_ADDRESS__)
    // The sanitizer's allocator keeps its own count; mallinfo does not see it.
    now.heapBytes = __sanitizer_get_current_allocated_bytes();
#else
    now.heapBytes = mallinfo2().uordblks;
#endif
    now.descriptors = count("/proc/self/fd") - 1;  // less the listing's own
    now.threads = count("/proc/self/task");
    return now;
}

// A status view that keeps nothing of what it is shown, so that the test
// itself does not grow.
class CountingStatus : public TStatusPane, public TProgressBar {
  public:
    void SetCaption(const AnsiString&) override { ++shown; }
    void SetPercent(int16_t) override { ++shown; }

    std::atomic<size_t> shown{0};
};

class LongRun : public WorkerWorkspace {
  public:
    explicit LongRun(int passes) : passes_(passes) {
        TDL config;
        TDD* type = AddType(config, "t", 0, "");
        type->Add("F1", 20, 1, 1);
        type->Add("F2", 20, 2, 2);
        config.Save(Store());
        Deliver();
    }

    // Runs passes back to back; each conversion delivers the file of the
    // next pass, which the pass's listing no longer sees.
    TDeltaSettings Settings() {
        TDeltaSettings settings = WorkerWorkspace::Settings();
        settings.SinglePass = false;
        settings.Tick = std::chrono::milliseconds(0);
        settings.OnConverted = [this](const AnsiString&, const AnsiString&, const AnsiString&,
                                      int) { OnConverted(); };
        return settings;
    }

    bool Done() const { return converted_ >= passes_; }
    int Passes() const { return converted_; }
    ProcessResources AfterTenth() const {
        const std::lock_guard lock(mutex_);
        return afterTenth_;
    }
    ProcessResources AfterLast() const {
        const std::lock_guard lock(mutex_);
        return afterLast_;
    }

  private:
    void Deliver() const { Write("in/update.txt", "/1=first/2=second\r\n/1=third/2=fourth\r\n"); }

    void OnConverted() {
        const int done = converted_ + 1;
        {
            const std::lock_guard lock(mutex_);
            if (done == 10) {
                afterTenth_ = CurrentResources();
            } else if (done == passes_) {
                afterLast_ = CurrentResources();
            }
        }
        if (done < passes_) {
            Deliver();
        }
        converted_ = done;
    }

    const int passes_;
    std::atomic<int> converted_{0};
    mutable std::mutex mutex_;
    ProcessResources afterTenth_;
    ProcessResources afterLast_;
};

// After the last pass the process holds what it held after the tenth: the
// same descriptors and threads, and the same heap but for a few hundred
// bytes that differ once (the capacities of texts); the smallest block lost
// in every pass would add 32 bytes a pass.
inline void ExpectFlat(const LongRun& run) {
    constexpr size_t kSlackBytes = 4096;
    ASSERT_TRUE(run.Done()) << "only " << run.Passes() << " passes converted";
    EXPECT_TRUE(run.failures.empty());
    const ProcessResources tenth = run.AfterTenth();
    const ProcessResources last = run.AfterLast();
    EXPECT_EQ(last.descriptors, tenth.descriptors);
    EXPECT_EQ(last.threads, tenth.threads);
    EXPECT_LE(last.heapBytes, tenth.heapBytes + kSlackBytes) << last << " against " << tenth;
    testing::Test::RecordProperty("after_tenth_pass", testing::PrintToString(tenth));
    testing::Test::RecordProperty("after_last_pass", testing::PrintToString(last));
}
