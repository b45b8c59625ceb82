#include "platform/text/codepage.h"

#include <gtest/gtest.h>

#include <string>

namespace platform {
namespace {

std::string AllBytes() {
    std::string bytes;
    for (int byte = 0; byte < 256; ++byte) {
        bytes += char(byte);
    }
    return bytes;
}

TEST(Codepage, EveryByteSurvivesTheRoundTripThroughUtf16AndUtf8) {
    const std::string bytes = AllBytes();
    EXPECT_EQ(Utf16ToCp1251(Cp1251ToUtf16(bytes)), bytes);
    EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(bytes)), bytes);
    EXPECT_EQ(Utf8ToUtf16(Cp1251ToUtf8(bytes)), Cp1251ToUtf16(bytes));
}

TEST(Codepage, KnownCharactersHaveTheirWindows1251Bytes) {
    EXPECT_EQ(Utf8ToCp1251("Привет, Ёж №5 €"),
              "\xCF\xF0\xE8\xE2\xE5\xF2, \xA8\xE6 \xB9"
              "5 \x88");
    EXPECT_EQ(Cp1251ToUtf16("\xC0\xFF\xA8\xB8\x98"), u"АяЁё\u0098");
    EXPECT_EQ(Cp1251ToUtf8("\xAB\xBB\x96"), "«»–");
}

TEST(Codepage, CharactersOutsideWindows1251BecomeOneQuestionMarkEach) {
    EXPECT_EQ(Utf16ToCp1251(u"a\u4E2Db"), "a?b");
    EXPECT_EQ(Utf16ToCp1251(u"a\U0001F600b"), "a?b");  // one mark for the surrogate pair
    EXPECT_EQ(Utf8ToCp1251("a\xE4\xB8\xAD"
                           "b"),
              "a?b");
    EXPECT_EQ(Utf8ToCp1251("a\xF0\x9F\x98\x80"
                           "b"),
              "a?b");
    EXPECT_EQ(Utf16ToCp1251(u"\u00E9\u0391"), "??");  // Latin-1 é and Greek Α
}

TEST(Codepage, InvalidUtf8BecomesReplacementCharacters) {
    struct Case {
        std::string input;
        std::u16string expected;
    };
    const Case cases[] = {
        {"\xFF", u"\uFFFD"},
        {"\x80"
         "A",
         u"\uFFFDA"},  // continuation byte without a lead
        {"\xC3"
         "A",
         u"\uFFFDA"},                         // sequence cut short; the next byte survives
        {"A\xE2\x82", u"A\uFFFD"},            // cut short at the end
        {"\xC0\x80", u"\uFFFD"},              // overlong NUL
        {"\xE0\x80\xAF", u"\uFFFD"},          // overlong slash
        {"\xED\xA0\x80", u"\uFFFD"},          // encoded surrogate
        {"\xF4\x90\x80\x80", u"\uFFFD"},      // beyond U+10FFFF
        {"\xF0\x9F\x98\x80", u"\U0001F600"},  // valid four-byte sequence
        {"\xEF\xBF\xBD", u"\uFFFD"},          // a real replacement character
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf8ToUtf16(c.input), c.expected) << testing::PrintToString(c.input);
    }
}

TEST(Codepage, UnpairedSurrogatesBecomeReplacementCharacters) {
    EXPECT_EQ(Utf16ToUtf8(std::u16string{u'a', char16_t(0xD83D), u'b'}),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(Utf16ToUtf8(std::u16string{char16_t(0xDE00)}), "\xEF\xBF\xBD");
    EXPECT_EQ(Utf16ToUtf8(u"\U0001F600"), "\xF0\x9F\x98\x80");
}

TEST(Codepage, UpperCaseMapsEveryLowerCaseLetterAndLeavesTheRestAlone) {
    const std::string lower =
        Utf8ToCp1251("abcdefghijklmnopqrstuvwxyzабвгдежзийклмнопрстуфхцчшщъыьэюяёђѓљњќћџўјґєїіѕ");
    const std::string upper =
        Utf8ToCp1251("ABCDEFGHIJKLMNOPQRSTUVWXYZАБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯЁЂЃЉЊЌЋЏЎЈҐЄЇІЅ");
    ASSERT_EQ(lower.size(), upper.size());
    ASSERT_EQ(lower.find('?'), std::string::npos);

    for (int byte = 0; byte < 256; ++byte) {
        const size_t index = lower.find(char(byte));
        const char expected = index == std::string::npos ? char(byte) : upper[index];
        EXPECT_EQ(UpperCase1251(char(byte)), expected) << "byte " << byte;
    }
}

}  // namespace
}  // namespace platform
