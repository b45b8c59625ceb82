#include "engine/formats/coded_format.h"

#include <gtest/gtest.h>

#include "engine/formats/code_values.h"
#include "tests/engine/formats/format_fixture.h"

namespace {

class CodedFormatTest : public FormatFixture {
  protected:
    Lines Decode(const Lines& lines, const AnsiString& ident) {
        return FormatFixture::Decode(TCodedFormat(), lines, ident);
    }

    Rows Convert(const Lines& lines, const TDD& type) { return Fill(TCodedFormat(), lines, type); }
};

// A special-products type whose five role fields take codes 1 to 5.
TDD& SpecialType(TDL& list, const AnsiString& kodObjRole, std::initializer_list<int> widths) {
    TDD& type = *list.Add("t", 0, "");
    type.SpecProd = true;
    type.KodObj = kodObjRole;
    type.TipZnak = "TIP";
    type.Ceria = "CER";
    type.Beg = "BEG";
    type.End = "END";
    const char* names[] = {"KOD", "TIP", "CER", "BEG", "END"};
    int code = 1;
    for (const int width : widths) {
        type.Add(names[code - 1], width, code, code);
        ++code;
    }
    return type;
}

// "АМТ" in DOS-866 and in Windows-1251.
const AnsiString kAmtDos = "\x80\x8C\x92";
const AnsiString kAmt = "\xC0\xCC\xD2";

TEST_F(CodedFormatTest, GroupRules) {
    struct Case {
        const char* what;
        AnsiString ident;
        Lines lines;
        Lines kept;
    };
    const std::vector<Case> cases = {
        {"no identifier keeps every record line wherever it stands",
         "",
         {"&" + kAmtDos, "/01=A", "&X", "text", "/01=B ", " /01=C"},
         {"/01=A", "/01=B"}},
        {"a second header ends the group and does not reopen it",
         kAmt,
         {"&" + kAmtDos, "/01=X", "&" + kAmtDos, "/01=Y"},
         {"/01=X"}},
        {"an identifier given with & makes the same marker",
         "&" + kAmt,
         {"&" + kAmtDos, "/01=X", "&" + kAmtDos, "/01=Y"},
         {"/01=X"}},
        {"another group ends it and a later header opens it again",
         kAmt,
         {"&" + kAmtDos, "/01=A", "&OTHER", "/01=B", "&" + kAmtDos, "/01=C"},
         {"/01=A", "/01=C"}},
        {"a line beginning with a blank ends the group",
         kAmt,
         {"&" + kAmtDos, "/01=A", " /01=B", "/01=C"},
         {"/01=A"}},
        {"a marker that begins a longer header matches",
         "\xC0\xCC",
         {"&" + kAmtDos + "2", "/01=A"},
         {"/01=A"}},
        {"the header test is case-sensitive", "amt", {"&AMT", "/01=A"}, {}},
        {"no header of the group: nothing", kAmt, {"/01=A", "&X", "/01=B"}, {}},
        {"kept lines are trimmed and converted from DOS-866",
         kAmt,
         {"&" + kAmtDos + "\r", "/01=\x80\xA0\xE0\xEF\t "},
         {"/01=\xC0\xE0\xF0\xFF"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Decode(c.lines, c.ident), c.kept) << c.what;
    }
}

TEST_F(CodedFormatTest, DecodeReportsEachLineWithItsPercentageOnlyWhenItChanges) {
    Decode(Lines(200, "/01=A"), "");
    const AnsiString decoding = "\xC4\xE5\xEA\xEE\xE4\xE8\xF0\xEE\xE2\xE0\xED\xE8\xE5 f.txt";
    ASSERT_EQ(progress_.percents.size(), 100u);  // 0..99, one report per change
    EXPECT_EQ(progress_.percents.front(), 0);
    EXPECT_EQ(progress_.percents.back(), 99);
    EXPECT_EQ(progress_.texts, std::vector<AnsiString>(100, decoding));
    EXPECT_EQ(progress_.stopQuestions, 200);  // once a line, after its report
}

TEST_F(CodedFormatTest, StopEndsTheDecodeAtTheNextLineAndTheFillGoesToTheEnd) {
    progress_.stopAt = 50;  // the report before the third of four lines
    EXPECT_EQ(Decode({"/01=A", "/01=B", "/01=C", "/01=D"}, ""), (Lines{"/01=A", "/01=B"}));
    TDL list;
    TDD& type = *list.Add("t", 0, "");
    type.Add("A", 5, 1, 1);
    const int asked = progress_.stopQuestions;
    EXPECT_EQ(Convert({"/01=A", "/01=B", "/01=C"}, type), (Rows{{"A"}, {"B"}, {"C"}}));
    EXPECT_EQ(progress_.stopQuestions, asked);
    EXPECT_EQ(progress_.percents.back(), 66);
    EXPECT_EQ(progress_.texts.back(),
              "\xCF\xF0\xE5\xEE\xE1\xF0\xE0\xE7\xEE\xE2\xE0\xED\xE8\xE5 f.txt");
}

TEST_F(CodedFormatTest, FieldsTakeTheirCodesInBothTagForms) {
    TDL list;
    TDD& type = *list.Add("t", 0, "");
    type.Add("F1", 10, 1, 1);
    type.Add("F2", 10, 2, 2);
    type.Add("F3", 10, 3, 3);
    type.Add("F15", 10, 15, 16);
    type.Add("F5", 10, 5, 5);
    type.Add("F7", 10, 7, 9);
    type.Add("CUT", 3, 12, 12);
    type.Add("F100", 10, 100, 100);
    const Rows rows = Convert(
        {
            "/01=\xC0\xC1\xC2/2=0001234/03= 77 /15=/16=alt/12=abcdef/100=hundred",
            "/5=B/05=A/07=/08=Z/09=nine",
            "/05=A/99=x/3=plain/03=padded",
            "/07=  /09=never/1/=x/01==eq",
        },
        type);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], (std::vector<AnsiString>{"\xC0\xC1\xC2", "0001234", "77", "alt", "", "",
                                                "abc", "hundred"}));
    // /5= wins over /05= whatever the order; /07= is empty, so ACode 9 is tried.
    EXPECT_EQ(rows[1], (std::vector<AnsiString>{"", "", "", "", "B", "nine", "", ""}));
    EXPECT_EQ(rows[2][2], "plain");
    EXPECT_EQ(rows[2][4], "A");
    // Blanks alone are a value: the alternative code is not tried, the field stays empty.
    EXPECT_EQ(rows[3][5], "");
    EXPECT_EQ(rows[3][0], "=eq");
}

TEST_F(CodedFormatTest, MoreLeadingZerosThanThePaddedFormIsAnotherTag) {
    TDL list;
    TDD& type = *list.Add("t", 0, "");
    type.Add("F5", 10, 5, 5);
    type.Add("F12", 10, 12, 12);
    type.Add("F5000", 10, 5000, 5000);
    EXPECT_EQ(Convert({"/005=x/012=y/05000=z/12=/5000=big"}, type), (Rows{{"", "", "big"}}));
}

TEST_F(CodedFormatTest, SpecialProductsFilterAndAmendRows) {
    LoadCodeValues(folder_.Write("kvadrel.INI", "[CodeValue]\nKodObj=ab1;02\nTipZnak=77\n"),
                   kodObjList_, tipZnakList_);
    TDL list;
    const TDD& type = SpecialType(list, "kod", {3, 2, 2, 6, 10});  // roles ignore case
    const Rows rows = Convert(
        {
            "/01=AB1/02=10/03=50/04=0001/05=0002",  // amended: sign type 10 is not kept
            "/01=02/02=77/03=50/04=0003/05=0004",   // sign type 77 keeps its numbers
            "/01=03/02=10/03=50/04=0005/05=0006",   // object code not accepted
            "/01=02/02=10/03=50/04=123456/05=9",    // the amended start number is cut
        },
        type);
    EXPECT_EQ(rows, (Rows{{"AB1", "10", "50", "000150", "000250"},
                          {"02", "77", "50", "0003", "0004"},
                          {"02", "10", "50", "123456", "950"}}));
}

TEST_F(CodedFormatTest, SpecialProductsEdgeLists) {
    TDL list;
    TDD& type = SpecialType(list, "KOD", {10, 10, 10, 10, 10});
    const Lines lines = {"/01=/02=77/03=9/04=1/05=2"};

    // An empty object-code list drops every row.
    EXPECT_TRUE(Convert(lines, type).empty());

    // An empty item accepts an empty object code; an empty sign-type list amends every row.
    kodObjList_ = {"01", "", "02"};
    EXPECT_EQ(Convert(lines, type), (Rows{{"", "77", "9", "19", "29"}}));

    // A role naming no field of the table drops every row.
    type.Ceria = "";
    EXPECT_TRUE(Convert(lines, type).empty());
}

}  // namespace
