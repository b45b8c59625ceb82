#include "platform/executable_path.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(ExecutablePath, IsTheRunningTestProgram) {
    const std::filesystem::path path = ExecutablePath();
    EXPECT_TRUE(path.is_absolute());
    EXPECT_EQ(path.filename(), "platform_tests" KVADREL_EXE_SUFFIX);
    EXPECT_TRUE(std::filesystem::equivalent(
        path, KVADREL_BINARY_DIR "/tests/platform_tests" KVADREL_EXE_SUFFIX));
}

TEST(ExecutablePath, CodeValueFileSitsBesideTheProgram) {
    // Without an extension (as on Linux) ".INI" is appended; ".exe" is replaced.
    const std::filesystem::path path = ExecutablePath();
    EXPECT_EQ(CodeValueFilePath(), path.parent_path() / "platform_tests.INI");
}

}  // namespace
}  // namespace platform
