#include "platform/store/reg_names.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(RegNamesTest, UpperCasesLatinAndCyrillicLetters) {
    const struct {
        char16_t unit, upper;
    } cases[] = {
        {u'a', u'A'}, {u'z', u'Z'}, {u'A', u'A'}, {u'1', u'1'}, {u'_', u'_'}, {u'é', u'É'},
        {u'þ', u'Þ'}, {u'ÿ', u'Ÿ'}, {u'÷', u'÷'}, {u'ß', u'ß'}, {u'ā', u'Ā'}, {u'Ā', u'Ā'},
        {u'ĺ', u'Ĺ'}, {u'ž', u'Ž'}, {u'ı', u'ı'}, {u'а', u'А'}, {u'я', u'Я'}, {u'ё', u'Ё'},
        {u'Ё', u'Ё'}, {u'ў', u'Ў'}, {u'џ', u'Џ'}, {u'ґ', u'Ґ'}, {u'ѣ', u'Ѣ'}, {u'ӂ', u'Ӂ'},
        {u'ӏ', u'Ӏ'}, {u'ә', u'Ә'}, {u'α', u'α'}, {u'№', u'№'},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(int(RegistryUpperCase(test.unit)), int(test.upper)) << std::hex << int(test.unit);
    }
    EXPECT_EQ(RegistryNameKey(u"Ёлка Tree ёж"), u"ЁЛКА TREE ЁЖ");
}

TEST(RegNamesTest, TellsWhatFitsOnOneLine) {
    const struct {
        std::u16string text;
        bool fits;
    } cases[] = {
        {u"", true},
        {u"tab\tand \"quotes\" \\", true},
        {u"\U0001F600", true},
        {u"a\nb", false},
        {u"a\rb", false},
        {std::u16string(u"a\0b", 3), false},
        {std::u16string(1, char16_t(0xD83D)), false},
        {std::u16string(1, char16_t(0xDE00)) + u"x", false},
        {std::u16string(1, char16_t(0xD83D)) + u"x", false},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(FitsOnOneLine(test.text), test.fits) << ::testing::PrintToString(test.text);
    }
}

}  // namespace
}  // namespace platform
