#include "platform/ini_file.h"

#include <gtest/gtest.h>

#include <string>
#include <system_error>

#include "platform/codepage.h"
#include "tests/temp_directory.h"

namespace platform {
namespace {

std::string Utf16LeWithBom(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text) {
        bytes += char(unit & 0xFF);
        bytes += char(unit >> 8);
    }
    return bytes;
}

// Reads a key of an INI file with the given contents, "<default>" when missing.
std::u16string Read(std::string_view contents, std::u16string_view section,
                    std::u16string_view key) {
    const TempDirectory folder;
    return IniText::Read(folder.Write("test.ini", contents)).ReadString(section, key, u"<default>");
}

TEST(IniFile, ReadsUtf16LittleEndianWithByteOrderMark) {
    const std::string contents =
        Utf16LeWithBom(u"[Раздел]\r\nКлюч=Значение \U0001F600 中\r\nOther=x\r\n");
    EXPECT_EQ(Read(contents, u"Раздел", u"Ключ"), u"Значение \U0001F600 中");
    EXPECT_EQ(Read(contents, u"Раздел", u"Other"), u"x");
}

TEST(IniFile, ReadsUtf8WithAndWithoutByteOrderMark) {
    const std::string contents = "[Раздел]\nКлюч=Значение ё 中\n";
    EXPECT_EQ(Read("\xEF\xBB\xBF" + contents, u"Раздел", u"Ключ"), u"Значение ё 中");
    EXPECT_EQ(Read(contents, u"Раздел", u"Ключ"), u"Значение ё 中");
}

TEST(IniFile, ReadsWindows1251WhenTheFileIsNotValidUtf8) {
    const std::string contents = Utf8ToCp1251("[Раздел]\r\nКлюч=Значение ё №\r\n");
    EXPECT_EQ(Read(contents, u"Раздел", u"Ключ"), u"Значение ё №");
    // One invalid sequence anywhere decides for Windows-1251: "Ђ" is 0x80 there.
    EXPECT_EQ(Read("[S]\nK=caf\xC3\xA9\nL=\x80\n", u"S", u"K"), u"caf\u0413\u00A9");
}

TEST(IniFile, SectionAndKeyNamesIgnoreCase) {
    const std::string contents = "[codevalue]\nkodobj=1\n[ДАННЫЕ]\nЁЖ=2\n";
    EXPECT_EQ(Read(contents, u"CodeValue", u"KodObj"), u"1");
    EXPECT_EQ(Read(contents, u"CODEVALUE", u"KODOBJ"), u"1");
    EXPECT_EQ(Read(contents, u"данные", u"ёж"), u"2");
    EXPECT_EQ(Read(contents, u"данные", u"еж"), u"<default>");  // е is not ё
}

TEST(IniFile, ValuesAreTrimmedAndLoseOnePairOfMatchingQuotes) {
    const std::string contents =
        "  [ S ]  \n"
        "\t Plain \t=\t  some value \t\n"
        "Double=\"  inner blanks  \"\n"
        "Single= 'single' \n"
        "Unmatched=\"open\n"
        "Mixed=\"mixed'\n"
        "Nested=\"'x'\"\n"
        "Lone=\"\n"
        "Empty=\n"
        "Comment=a ; b\n";
    const struct {
        std::u16string_view key;
        std::u16string_view value;
    } cases[] = {
        {u"Plain", u"some value"}, {u"Double", u"  inner blanks  "},
        {u"Single", u"single"},    {u"Unmatched", u"\"open"},
        {u"Mixed", u"\"mixed'"},   {u"Nested", u"'x'"},
        {u"Lone", u"\""},          {u"Empty", u""},
        {u"Comment", u"a ; b"},  // no inline comments
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Read(contents, u"S", c.key), c.value) << Utf16ToUtf8(c.key);
    }
}

TEST(IniFile, LinesEndAtCarriageReturnLineFeedOrBoth) {
    const std::string contents = "[S]\rA=1\nB=2\r\nC=3\r\rD=4\n\nE=5";
    const std::pair<std::u16string_view, std::u16string_view> cases[] = {
        {u"A", u"1"}, {u"B", u"2"}, {u"C", u"3"}, {u"D", u"4"}, {u"E", u"5"}};
    for (const auto& [key, value] : cases) {
        EXPECT_EQ(Read(contents, u"S", key), value) << Utf16ToUtf8(key);
    }
}

TEST(IniFile, MissingFileSectionOrKeyGivesTheDefault) {
    const TempDirectory folder;
    const std::filesystem::path missing = folder.path() / "missing.ini";
    EXPECT_EQ(IniText::Read(missing).ReadString(u"S", u"K", u"dflt"), u"dflt");
    EXPECT_EQ(IniText::Read(missing / "below").ReadString(u"S", u"K", u"dflt"), u"dflt");

    const std::string contents =
        "Top=0\n"
        "[S]\n"
        ";Commented=1\n"
        "   ; Indented=2\n"
        "NoEquals\n"
        "K=3\n"
        "[T]\n"
        "Other=4\n";
    EXPECT_EQ(Read(contents, u"S", u"K"), u"3");
    EXPECT_EQ(Read(contents, u"S", u"Top"), u"<default>");  // before any section
    EXPECT_EQ(Read(contents, u"S", u"Commented"), u"<default>");
    EXPECT_EQ(Read(contents, u"S", u"; Indented"), u"<default>");
    EXPECT_EQ(Read(contents, u"S", u"NoEquals"), u"<default>");
    EXPECT_EQ(Read(contents, u"S", u"Other"), u"<default>");  // in another section
    EXPECT_EQ(Read(contents, u"Missing", u"K"), u"<default>");
    EXPECT_EQ(Read("", u"S", u"K"), u"<default>");
}

TEST(IniFile, FirstOccurrenceOfAKeyWins) {
    EXPECT_EQ(Read("[S]\nK=first\n[T]\nK=other\n[s]\nK=second\n", u"S", u"K"), u"first");
    EXPECT_EQ(Read("[S]\n[T]\nK=other\n[s]\nk=later\n", u"S", u"K"), u"later");
}

TEST(IniFile, DeliversAtMost2047Characters) {
    const std::string exact(kIniValueLimit, 'x');
    EXPECT_EQ(Read("[S]\nK=" + exact + "\n", u"S", u"K").size(), kIniValueLimit);

    const std::string longer = std::string(2000, 'a') + std::string(100, 'b');
    const std::u16string value = Read("[S]\nK=\"" + longer + "\"\n", u"S", u"K");
    EXPECT_EQ(value, Utf8ToUtf16(longer.substr(0, kIniValueLimit)));
}

TEST(IniFile, AFileThatCannotBeReadIsAnError) {
    const TempDirectory directory;
    EXPECT_THROW(IniText::Read(directory.path()).ReadString(u"S", u"K", u""), std::system_error);
}

}  // namespace
}  // namespace platform
