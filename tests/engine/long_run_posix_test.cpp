// POSIX only: the resources are read from /proc/self.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "tests/long_run.h"

namespace {

constexpr int kPasses = 3000;

// Thousands of passes, each converting a delivery: after the last, the
// worker holds what it held after the tenth, no more.
TEST(LongRun, ResourcesStayFlatFromPassToPass) {
    LongRun run(kPasses);
    CountingStatus status;
    TDelta worker(status, status, run.Settings());
    const auto patience = std::chrono::steady_clock::now() + std::chrono::minutes(5);
    while (!run.Done() && !worker.Finished() && std::chrono::steady_clock::now() < patience) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    worker.Terminate();
    worker.WaitFor();
    ExpectFlat(run);
}

}  // namespace
