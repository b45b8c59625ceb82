// The test's thread as the workers' main thread: their hand-overs wait until
// the test serves them, as a window's event loop would.
#pragma once

#include <chrono>
#include <functional>
#include <thread>

#include "platform/system/thread.h"

class TestMainThread {
  public:
    // The test looks for hand-overs itself (ServeUntil, WaitFor): no wake.
    TestMainThread() {
        platform::InstallMainThreadDispatcher([] {});
    }
    ~TestMainThread() { platform::RemoveMainThreadDispatcher(); }

    TestMainThread(const TestMainThread&) = delete;
    TestMainThread& operator=(const TestMainThread&) = delete;

    // Serves hand-overs until `done` holds; false when it does not within 30
    // seconds (a guard against a hang, not a measure of speed).
    static bool ServeUntil(const std::function<bool()>& done) {
        const auto patience = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!done()) {
            if (std::chrono::steady_clock::now() > patience) {
                return false;
            }
            if (!platform::CheckSynchronize()) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        }
        return true;
    }
};
