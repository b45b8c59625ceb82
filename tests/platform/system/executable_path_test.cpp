#include "platform/system/executable_path.h"

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

TEST(ExecutablePath, CodeValueFileSitsBesideTheProgramUnderTheProgramsName) {
    // Every program reads the one file, whatever its own name.
    const std::filesystem::path path = ExecutablePath();
    EXPECT_EQ(CodeValueFilePath(), path.parent_path() / "kvadrel.INI");
}

}  // namespace
}  // namespace platform
