#include "engine/formats/code_values.h"

#include <gtest/gtest.h>

#include <string>
#include <system_error>

#include "tests/temp_directory.h"

namespace {

AnsiString Win(std::string_view utf8) {
    return platform::Utf8ToCp1251(utf8);
}

struct Loaded {
    CodeList kodObj;
    CodeList tipZnak;
    TCodeValuesCut cut;
};

Loaded LoadFrom(std::string_view iniContents) {
    const TempDirectory folder;
    Loaded lists;
    lists.cut =
        LoadCodeValues(folder.Write("kvadrel.INI", iniContents), lists.kodObj, lists.tipZnak);
    return lists;
}

// Text beyond ASCII goes in UTF-16 with a byte-order mark, which the readers
// of every system take (the Windows one takes no UTF-8).
Loaded LoadFromUtf16(std::u16string_view iniContents) {
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : iniContents) {
        bytes += char(unit & 0xFF);
        bytes += char(unit >> 8);
    }
    return LoadFrom(bytes);
}

TEST(CodeValues, ListsHoldTheTrimmedItemsInFileOrder) {
    const Loaded lists = LoadFrom("[CodeValue]\nKodObj=01;;02;01\nTipZnak= 01; 02 \n");
    EXPECT_EQ(lists.kodObj, (CodeList{"01", "", "02", "01"}));
    EXPECT_EQ(lists.tipZnak, (CodeList{"01", "02"}));
}

TEST(CodeValues, AnEmptyItemAcceptsAnEmptyCode) {
    const Loaded lists = LoadFrom("[CodeValue]\nKodObj=01;;02\n");
    EXPECT_TRUE(InCodeList(lists.kodObj, ""));
    EXPECT_TRUE(InCodeList(lists.kodObj, "02"));
    EXPECT_FALSE(InCodeList(lists.kodObj, "03"));
    EXPECT_FALSE(InCodeList(LoadFrom("[CodeValue]\nKodObj=01;02\n").kodObj, ""));
}

TEST(CodeValues, ValuesMatchWithoutRegardToCaseButAsTheyAre) {
    const Loaded lists = LoadFromUtf16(u"[CodeValue]\nKodObj=AB1; Ёлка \nTipZnak= 01; 02 \n");
    EXPECT_TRUE(InCodeList(lists.kodObj, "ab1"));
    EXPECT_TRUE(InCodeList(lists.kodObj, Win("ёЛКА")));
    EXPECT_TRUE(InCodeList(lists.tipZnak, "02"));
    EXPECT_FALSE(InCodeList(lists.tipZnak, " 02"));  // the value is not trimmed
    EXPECT_FALSE(InCodeList(lists.tipZnak, "2"));
}

TEST(CodeValues, MissingFileSectionOrKeyGivesEmptyLists) {
    const TempDirectory folder;
    CodeList kodObj = {"stale"};
    CodeList tipZnak = {"stale"};
    LoadCodeValues(folder.path() / "kvadrel.INI", kodObj, tipZnak);
    EXPECT_TRUE(kodObj.empty());
    EXPECT_TRUE(tipZnak.empty());
    EXPECT_FALSE(InCodeList(kodObj, ""));

    const Loaded otherSection = LoadFrom("[Other]\nKodObj=01\nTipZnak=02\n");
    EXPECT_TRUE(otherSection.kodObj.empty());
    EXPECT_TRUE(otherSection.tipZnak.empty());

    const Loaded onlyTipZnak = LoadFrom("[codevalue]\ntipznak=02\n");
    EXPECT_TRUE(onlyTipZnak.kodObj.empty());
    EXPECT_EQ(onlyTipZnak.tipZnak, (CodeList{"02"}));
}

TEST(CodeValues, ItemsPastTheReadLimitAreMissingOrCutShort) {
    // 2045 characters, ";", then the 2047th character "1" of "12345".
    const std::string first(2045, 'x');
    const Loaded lists = LoadFrom("[CodeValue]\nKodObj=" + first + ";12345;678\n");
    EXPECT_EQ(lists.kodObj, (CodeList{first, "1"}));
    EXPECT_TRUE(lists.cut.KodObj);
    EXPECT_FALSE(lists.cut.TipZnak);
    EXPECT_FALSE(LoadFrom("[CodeValue]\nKodObj=" + first + "\n").cut.KodObj);
}

TEST(CodeValues, CharactersOutsideWindows1251AreLost) {
    const Loaded lists = LoadFromUtf16(u"[CodeValue]\nKodObj=中;Код\n");
    EXPECT_EQ(lists.kodObj, (CodeList{"?", Win("Код")}));
}

TEST(CodeValues, AnUnreadableFileIsAnError) {
    const TempDirectory directory;
    CodeList kodObj = {"stale"};
    CodeList tipZnak = {"stale"};
    EXPECT_THROW(LoadCodeValues(directory.path(), kodObj, tipZnak), std::system_error);
    EXPECT_TRUE(kodObj.empty());
    EXPECT_TRUE(tipZnak.empty());
}

}  // namespace
