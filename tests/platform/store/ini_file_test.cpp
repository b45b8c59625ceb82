#include "platform/store/ini_file.h"

#include <gtest/gtest.h>

#include <string>
#include <system_error>

#include "platform/text/codepage.h"
#include "tests/platform/store/ini_fixture.h"

namespace platform {
namespace {

TEST(IniFile, ReadsUtf16LittleEndianWithByteOrderMark) {
    const std::string contents =
        Utf16LeWithBom(u"[Раздел]\r\nКлюч=Значение \U0001F600 中\r\nOther=x\r\n");
    EXPECT_EQ(Read(contents, u"Раздел", u"Ключ"), u"Значение \U0001F600 中");
    EXPECT_EQ(Read(contents, u"Раздел", u"Other"), u"x");
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
