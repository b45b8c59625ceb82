// The single-instance lock on POSIX systems: an abstract socket, held across
// processes and freed when its holder is killed.
#include "platform/system/single_instance.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <stdexcept>
#include <string>

#include "tests/platform/child_process.h"

namespace platform {
namespace {

using child_process::AskChild;
using child_process::HoldingChild;

// A name of this test run's own, so a running program is not disturbed.
std::string LockName() {
    return "kvadrel-test-" + std::to_string(::getpid()) + "-" +
           testing::UnitTest::GetInstance()->current_test_info()->name();
}

TEST(SingleInstanceLock, OneHolderAtATimeWithinTheProcess) {
    const auto name = LockName();
    auto first = SingleInstanceLock::TryAcquire(name);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(SingleInstanceLock::TryAcquire(name), nullptr);
    EXPECT_NE(SingleInstanceLock::TryAcquire(name + "-other"), nullptr);
    first.reset();
    EXPECT_NE(SingleInstanceLock::TryAcquire(name), nullptr);
}

TEST(SingleInstanceLock, AnotherProcessCannotTakeItUntilReleased) {
    const auto name = LockName();
    const auto canAcquire = [&] { return SingleInstanceLock::TryAcquire(name) != nullptr; };
    auto held = SingleInstanceLock::TryAcquire(name);
    ASSERT_NE(held, nullptr);
    EXPECT_FALSE(AskChild(canAcquire));
    held.reset();
    EXPECT_TRUE(AskChild(canAcquire));
}

TEST(SingleInstanceLock, HolderKilledFreesIt) {
    const auto name = LockName();
    // The child keeps the lock (never frees it) until it is killed.
    HoldingChild holder([&] { return SingleInstanceLock::TryAcquire(name).release() != nullptr; });
    ASSERT_TRUE(holder.Took());
    EXPECT_EQ(SingleInstanceLock::TryAcquire(name), nullptr);
    holder.Kill();
    EXPECT_NE(SingleInstanceLock::TryAcquire(name), nullptr);
}

TEST(SingleInstanceLock, RefusesNamesItCannotUse) {
    EXPECT_THROW(SingleInstanceLock::TryAcquire(""), std::invalid_argument);
    EXPECT_THROW(SingleInstanceLock::TryAcquire(std::string(108, 'k')), std::invalid_argument);
    auto longest = LockName();
    longest.resize(107, 'k');
    EXPECT_NE(SingleInstanceLock::TryAcquire(longest), nullptr);
}

}  // namespace
}  // namespace platform
