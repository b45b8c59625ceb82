#include "platform/exclusive_probe.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "child_process.h"
#include "tests/temp_directory.h"

namespace platform {
namespace {

using child_process::HoldingChild;

class ProbeWhileChildHasFileOpen : public testing::TestWithParam<int> {};

TEST_P(ProbeWhileChildHasFileOpen, FileIsBusyUntilTheChildLetsGo) {
    TempDirectory directory;
    const auto file = directory.Write("update.txt", "data");
    ASSERT_EQ(ProbeExclusiveOpen(file), ProbeResult::Free);

    const int openMode = GetParam();
    HoldingChild child([&] { return ::open(file.c_str(), openMode) >= 0; });
    ASSERT_TRUE(child.Took());
    EXPECT_EQ(ProbeExclusiveOpen(file), ProbeResult::Busy);
    child.Release();
    EXPECT_EQ(ProbeExclusiveOpen(file), ProbeResult::Free);
}

INSTANTIATE_TEST_SUITE_P(OpenModes, ProbeWhileChildHasFileOpen,
                         testing::Values(O_RDONLY, O_WRONLY, O_RDWR));

TEST(ProbeExclusiveOpen, KilledHolderFreesTheFile) {
    TempDirectory directory;
    const auto file = directory.Write("update.txt", "data");
    HoldingChild child([&] { return ::open(file.c_str(), O_WRONLY) >= 0; });
    ASSERT_TRUE(child.Took());
    EXPECT_EQ(ProbeExclusiveOpen(file), ProbeResult::Busy);
    child.Kill();
    EXPECT_EQ(ProbeExclusiveOpen(file), ProbeResult::Free);
}

TEST(ProbeExclusiveOpen, FileOpenInThisProcessCountsAsBusy) {
    TempDirectory directory;
    const auto file = directory.Write("update.txt", "data");
    const int fd = ::open(file.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(ProbeExclusiveOpen(file), ProbeResult::Busy);
    ::close(fd);
    EXPECT_EQ(ProbeExclusiveOpen(file), ProbeResult::Free);
}

TEST(ProbeExclusiveOpen, WhatIsNoOpenableFileFailsTheProbe) {
    TempDirectory directory;
    const auto& dir = directory.path();
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
    EXPECT_EQ(ProbeExclusiveOpen(dir / "missing.txt"), ProbeResult::CannotOpen);
    EXPECT_EQ(ProbeExclusiveOpen(dir), ProbeResult::CannotOpen);
    EXPECT_EQ(ProbeExclusiveOpen(dir / "pipe"), ProbeResult::CannotOpen);  // and does not block
}

// A user that does not own a file gets no lease on it; then only a recent
// (or future) modification time marks the file as busy. Needs root to act as
// another user.
TEST(ProbeExclusiveOpen, WithoutLeaseRightsTheModificationTimeDecides) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to probe as another user";
    }
    TempDirectory directory;
    ASSERT_EQ(::chmod(directory.path().c_str(), 0755), 0);
    const auto old = directory.Write("old.txt", "data");
    const auto future = directory.Write("future.txt", "data");
    const auto secret = directory.Write("secret.txt", "data");
    ASSERT_EQ(::chmod(secret.c_str(), 0600), 0);
    const auto now = std::filesystem::file_time_type::clock::now();
    std::filesystem::last_write_time(old, now - std::chrono::hours(1));
    std::filesystem::last_write_time(future, now + std::chrono::hours(1));

    const auto probeAsNobody = [](const std::filesystem::path& file, ProbeResult expected) {
        return child_process::AskChild([&] {
            constexpr uid_t kNobody = 65534;
            return ::setresgid(kNobody, kNobody, kNobody) == 0 &&
                   ::setresuid(kNobody, kNobody, kNobody) == 0 &&
                   ProbeExclusiveOpen(file) == expected;
        });
    };
    EXPECT_TRUE(probeAsNobody(old, ProbeResult::Free));
    EXPECT_TRUE(probeAsNobody(future, ProbeResult::Busy));
    EXPECT_TRUE(probeAsNobody(secret, ProbeResult::CannotOpen));
}

}  // namespace
}  // namespace platform
