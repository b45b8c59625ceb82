// Text files read by POSIX path, among them a pipe (a stream of no known
// size), a missing file and a folder.
#include "platform/files/text_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <ostream>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/text/codepage.h"
#include "tests/line_lists.h"
#include "tests/platform/printable.h"
#include "tests/temp_directory.h"

namespace platform {
namespace {

using namespace std::string_literals;

struct LinesCase {
    std::string bytes;
    std::vector<AnsiString> lines;
};

void PrintTo(const LinesCase& c, std::ostream* out) {
    *out << Printable(c.bytes);
}

class ReadTextLinesTest : public testing::TestWithParam<LinesCase> {};

TEST_P(ReadTextLinesTest, SplitsAndDecodes) {
    TempDirectory directory;
    const auto file = directory.Write("update.txt", GetParam().bytes);
    EXPECT_EQ(ToLines(ReadTextLines(file)), GetParam().lines);
}

std::string Utf16(std::u16string_view text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t unit : text) {
        const char high = char(unit >> 8);
        const char low = char(unit & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

// "Мир" in Windows-1251.
const AnsiString kMir1251 = "\xCC\xE8\xF0";

INSTANTIATE_TEST_SUITE_P(
    Breaks, ReadTextLinesTest,
    testing::Values(LinesCase{"", {}}, LinesCase{"a", {"a"}}, LinesCase{"a\n", {"a"}},
                    LinesCase{"a\r\nb\rc\nd", {"a", "b", "c", "d"}}, LinesCase{"\n", {""}},
                    LinesCase{"\r\n\r\n", {"", ""}}, LinesCase{"a\n\nb\r\r", {"a", "", "b", ""}},
                    LinesCase{"a\r\r\nb", {"a", "", "b"}}, LinesCase{"a\n\rb", {"a", "", "b"}},
                    LinesCase{"a\0b\nc\0\r\n"s, {"a\0b"s, "c\0"s}},
                    LinesCase{"\x8C\xA8\x90\n\xCC", {"\x8C\xA8\x90", "\xCC"}}));

INSTANTIATE_TEST_SUITE_P(
    ByteOrderMarks, ReadTextLinesTest,
    testing::Values(
        LinesCase{"\xEF\xBB\xBF\xD0\x9C\xD0\xB8\xD1\x80\r\n\xE2\x82\xAC\xE2\x86\x92",
                  {kMir1251, "\x88?"}},
        LinesCase{"\xEF\xBB\xBF", {}},
        LinesCase{Utf16(u"\u041C\u0438\u0440\r\na\u2192\nb", false), {kMir1251, "a?", "b"}},
        LinesCase{Utf16(u"\u041C\u0438\u0440\r\na\u2192\nb", true), {kMir1251, "a?", "b"}},
        LinesCase{Utf16(u"ab", false) + "c", {"ab?"}}));

TEST(ReadTextLines, ManyLinesOfEveryBreak) {
    std::string bytes;
    std::vector<AnsiString> expected;
    const char* const breaks[] = {"\n", "\r\n", "\r"};
    for (int i = 0; i < 30'000; ++i) {
        expected.push_back("/" + std::to_string(i) + "=\xCC\xE8\xF0 " + std::string(i % 50, 'x'));
        bytes += expected.back() + breaks[i % 3];
    }
    TempDirectory directory;
    EXPECT_EQ(ToLines(ReadTextLines(directory.Write("big.txt", bytes))), expected);
}

// The file is read in pieces of 1 MiB: lines, CRLF pairs and UTF-8
// characters that straddle a piece boundary come out whole.
TEST(ReadTextLines, BreaksAndCharactersAcrossReadPieces) {
    constexpr size_t kPiece = 1 << 20;
    TempDirectory directory;
    for (size_t before = kPiece - 3; before <= kPiece + 1; ++before) {
        const std::string first(before, 'a');
        EXPECT_EQ(ToLines(ReadTextLines(directory.Write("plain.txt", first + "\r\nb\r"))),
                  (Lines{first, "b"}))
            << before;
        const std::string utf8Bom = "\xEF\xBB\xBF";
        const std::string mirUtf8 = "\xD0\x9C\xD0\xB8\xD1\x80";
        EXPECT_EQ(
            ToLines(ReadTextLines(directory.Write("utf8.txt", utf8Bom + first + mirUtf8 + "\nz"))),
            (Lines{first + kMir1251, "z"}))
            << before;
    }
}

// UTF-16 is converted in pieces of 65536 code units: a surrogate pair across
// the end of a piece is still one character.
TEST(ReadTextLines, Utf16PairAcrossConvertedPieces) {
    TempDirectory directory;
    for (size_t before = 65534; before <= 65536; ++before) {
        const std::u16string text = std::u16string(before, u'a') + u"\U0001F600\nb";
        EXPECT_EQ(ToLines(ReadTextLines(directory.Write("utf16.txt", Utf16(text, false)))),
                  (Lines{std::string(before, 'a') + "?", "b"}))
            << before;
    }
}

// A pipe has no size to go by: the whole stream is still read.
TEST(ReadTextLines, ReadsAStreamWithoutKnownSize) {
    TempDirectory directory;
    const auto fifo = directory.path() / "stream";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string line(999, 'z');
    std::thread writer([&] {
        std::ofstream out(fifo, std::ios::binary);
        for (int i = 0; i < 300; ++i) {
            out << line << '\n';
        }
    });
    const auto lines = ToLines(ReadTextLines(fifo));
    writer.join();
    ASSERT_EQ(lines.size(), 300u);
    EXPECT_EQ(lines.front(), line);
    EXPECT_EQ(lines.back(), line);
}

TEST(ReadTextLines, UnreadableFileThrowsNamingIt) {
    TempDirectory directory;
    const auto missing = directory.path() / "missing.txt";
    try {
        ReadTextLines(missing);
        FAIL() << "no exception";
    } catch (const std::system_error& error) {
        EXPECT_EQ(error.code(), std::errc::no_such_file_or_directory);
        EXPECT_NE(std::string(error.what()).find(missing.string()), std::string::npos);
    }
    EXPECT_THROW(ReadTextLines(directory.path()), std::system_error);
}

}  // namespace
}  // namespace platform
