// The single-instance lock on Windows: the named mutex.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/system/single_instance.h"

namespace platform {
namespace {

TEST(SingleInstanceMutex, IsTakenOnceAndFreedWithItsHolder) {
    const std::string name = "kvadrel-test-" + std::to_string(::GetCurrentProcessId());
    auto first = SingleInstanceLock::TryAcquire(name);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(SingleInstanceLock::TryAcquire(name), nullptr);
    // Another process sees the same named mutex.
    const HANDLE other = ::OpenMutexA(SYNCHRONIZE, FALSE, name.c_str());
    EXPECT_NE(other, nullptr);
    if (other != nullptr) {
        ::CloseHandle(other);
    }
    first.reset();
    EXPECT_NE(SingleInstanceLock::TryAcquire(name), nullptr);
}

}  // namespace
}  // namespace platform
