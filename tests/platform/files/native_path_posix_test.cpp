// Windows-1251 paths as POSIX paths: UTF-8 names and "/" separators.
#include "platform/files/native_path.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/temp_directory.h"

namespace platform {
namespace {

// "Москва" in Windows-1251 and in UTF-8.
constexpr char kMoscow1251[] = "\xCC\xEE\xF1\xEA\xE2\xE0";
constexpr char kMoscowUtf8[] = "\xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0";

TEST(NativePath, CyrillicPathsCrossBothWays) {
    const std::string ansi = std::string("/srv/in/") + kMoscow1251 + ".txt";
    const std::string utf8 = std::string("/srv/in/") + kMoscowUtf8 + ".txt";
    EXPECT_EQ(NativePath(ansi).native(), utf8);
    EXPECT_EQ(AnsiFileName(utf8), ansi);
}

TEST(NativePath, NamesWindows1251CannotHoldGetQuestionMarks) {
    EXPECT_EQ(AnsiFileName("\xE6\x97\xA5-\xC3\xBC.txt"), "?-?.txt");  // a CJK letter, u umlaut
    EXPECT_EQ(AnsiFileName("bad\xFF.txt"), "bad?.txt");               // not UTF-8 at all
}

TEST(NativePath, FileWithCyrillicNameOpensThroughItsAnsiName) {
    TempDirectory directory;
    const auto file = directory.Write(std::string(kMoscowUtf8) + ".txt", "x");
    std::ifstream in(NativePath(AnsiFileName(file)));
    EXPECT_TRUE(in.is_open());
}

}  // namespace
}  // namespace platform
