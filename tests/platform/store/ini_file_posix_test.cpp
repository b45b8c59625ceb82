// The reader of systems without one of their own: encodings, names and
// comments as the system's reader on Windows does not give them.
#include <gtest/gtest.h>

#include "platform/text/codepage.h"
#include "tests/platform/store/ini_fixture.h"

namespace platform {
namespace {

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

}  // namespace
}  // namespace platform
