#include "engine/formats/strfunc.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Windows-1251 bytes of UTF-8 source text.
AnsiString Win(std::string_view utf8) {
    return platform::Utf8ToCp1251(utf8);
}

TEST(Strfunc, StartsWithIsAMatchAtTheStart) {
    EXPECT_TRUE(StartsWith(Win("&АМТ"), Win("&АМ")));
    EXPECT_TRUE(StartsWith("R_AMT 1", "R_AMT"));
    EXPECT_FALSE(StartsWith(" R_AMT", "R_AMT"));
    EXPECT_FALSE(StartsWith("R_AM", "R_AMT"));
    EXPECT_FALSE(StartsWith("r_amt", "R_AMT"));  // case matters
    EXPECT_FALSE(StartsWith("abc", ""));
    EXPECT_FALSE(StartsWith("", ""));
}

TEST(Strfunc, CopyClipsStartAndCount) {
    const struct {
        std::ptrdiff_t start;
        std::ptrdiff_t count;
        std::string_view expected;
    } cases[] = {
        {1, 3, "abc"},   {2, 3, "bcd"}, {6, 1, "f"},  {6, 10, "f"},
        {4, 100, "def"}, {7, 1, ""},    {100, 1, ""}, {0, 2, "ab"},
        {-5, 2, "ab"},   {2, 0, ""},    {2, -1, ""},  {1, 6, "abcdef"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Copy("abcdef", c.start, c.count), c.expected)
            << "start " << c.start << ", count " << c.count;
    }
    EXPECT_EQ(Copy("", 1, 1), "");
    EXPECT_EQ(Copy("", 0, 0), "");
}

TEST(Strfunc, TrimRemovesBlanksAndControlCharactersOnly) {
    EXPECT_EQ(Trim(" \t\r\n abc \x01\x1F "), "abc");
    EXPECT_EQ(Trim("a b"), "a b");
    EXPECT_EQ(Trim(" \x01 "), "");
    EXPECT_EQ(Trim(""), "");
    EXPECT_EQ(Trim(std::string_view("\0x\0", 3)), "x");
    // Bytes from 0x80 up are letters and signs, not control characters.
    EXPECT_EQ(Trim("\xA0\xE0 \xFF\x80"), "\xA0\xE0 \xFF\x80");
    EXPECT_EQ(Trim(Win(" Ёж ")), Win("Ёж"));
}

TEST(Strfunc, SameTextIgnoresTheCaseOfLatinAndCyrillicLetters) {
    const struct {
        std::string a;
        std::string b;
        bool same;
    } cases[] = {
        {"ab1", "AB1", true},
        {"AB1", "ab1", true},
        {Win("ё"), Win("Ё"), true},
        {Win("привет"), Win("ПРИВЕТ"), true},
        {Win("Їжак і ґанок"), Win("їЖАК І ҐАНОК"), true},
        {Win("е"), Win("ё"), false},
        {Win("а"), "a", false},  // Cyrillic а is not Latin a
        {"@", "`", false},       // differ only in bit 5, like letters of two cases
        {"[", "{", false},
        {"ab", "abc", false},
        {"a ", "a", false},  // no trimming
        {"", "", true},
        {"", " ", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SameText(c.a, c.b), c.same) << "'" << c.a << "' vs '" << c.b << "'";
    }
}

TEST(Strfunc, SplitTextCutsAtDelimitersAndLineBreaksAndTrims) {
    using Items = std::vector<AnsiString>;
    const struct {
        std::string text;
        Items items;
    } cases[] = {
        {"01;02", {"01", "02"}},
        {"01; 02 ;03", {"01", "02", "03"}},
        {"01;;02", {"01", "", "02"}},
        {"01;02;", {"01", "02"}},
        {";01", {"", "01"}},
        {"01;;", {"01", ""}},
        {";", {""}},
        {" ", {""}},
        {"01\r02\n03\r\n04", {"01", "02", "03", "04"}},
        {"01\n\r02", {"01", "", "02"}},  // LF CR is two breaks
        {"01\r\n", {"01"}},
        {"01\r\n\r\n", {"01", ""}},
        {"\t01 \x01;\x7F", {"01", "\x7F"}},
        {std::string("01;02\0;03", 9), {"01", "02"}},  // NUL ends the text
        {std::string("\0"
                     "01",
                     3),
         {}},
    };
    for (const auto& c : cases) {
        Items list = {"old"};
        SplitText(c.text, list, ';');
        EXPECT_EQ(list, c.items) << testing::PrintToString(c.text);
    }
}

TEST(Strfunc, SplitTextReturnsTheTextWithDelimitersAsLineFeeds) {
    std::vector<AnsiString> list;
    EXPECT_EQ(SplitText(" 01;;02 ", list, ';'), " 01\n\n02 ");
    EXPECT_EQ(SplitText("a,b;c", list, ','), "a\nb;c");
    EXPECT_EQ(list, (std::vector<AnsiString>{"a", "b;c"}));
}

TEST(Strfunc, SplitTextOfAnEmptyTextLeavesTheListAsItWas) {
    std::vector<AnsiString> list = {" kept ", "items"};
    EXPECT_EQ(SplitText("", list, ';'), "");
    EXPECT_EQ(list, (std::vector<AnsiString>{" kept ", "items"}));
}

TEST(Strfunc, DosToWinConvertsTheCyrillicLettersOfEveryByte) {
    // DOS 866 letters: А..Я at 0x80..0x9F, а..п at 0xA0..0xAF, р..я at 0xE0..0xEF.
    const AnsiString alphabet =
        Win("АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдежзийклмнопрстуфхцчшщъыьэюя");
    AnsiString input;
    AnsiString expected;
    for (int byte = 0; byte < 256; ++byte) {
        input += char(byte);
        expected += char(byte);
    }
    for (int i = 0; i < 48; ++i) {
        expected[0x80 + i] = alphabet[i];
    }
    for (int i = 0; i < 16; ++i) {
        expected[0xE0 + i] = alphabet[48 + i];
    }
    AnsiString converted = input;
    DosToWin(converted);
    ASSERT_EQ(converted.size(), input.size());
    for (int byte = 0; byte < 256; ++byte) {
        EXPECT_EQ(uint8_t(converted[byte]), uint8_t(expected[byte])) << "byte " << byte;
    }
}

AnsiString Converted(AnsiString line) {
    DosToWin(line);
    return line;
}

TEST(Strfunc, DosToWinKeepsAsciiAndDamagesWindowsText) {
    EXPECT_EQ(Converted("/01=ABC xyz 0123"), "/01=ABC xyz 0123");
    // DOS "Привет" becomes Windows "Привет".
    EXPECT_EQ(Converted("\x8F\xE0\xA8\xA2\xA5\xE2"), Win("Привет"));
    // Text already in Windows-1251: а (0xE0) turns into р.
    EXPECT_EQ(Converted(Win("а")), Win("р"));
    // DOS Ё and ё are not converted and read as р and с.
    EXPECT_EQ(Converted("\xF0\xF1"), Win("рс"));
    EXPECT_EQ(Converted(std::string("a\0b", 3)), std::string("a\0b", 3));
}

}  // namespace
