#include "engine/formats/moscow_format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <stdexcept>
#include <string>

#include "engine/formats/strfunc.h"
#include "tests/engine/formats/format_fixture.h"
#include "tests/engine/formats/moscow_scrambler.h"

namespace {

using moscow_scrambler::Scramble;

AnsiString Win(std::string_view utf8) {
    return platform::Utf8ToCp1251(utf8);
}

std::string Bytes(std::string_view hex) {
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(char(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
    }
    return bytes;
}

bool HasByteIn(std::string_view bytes, uint8_t low, uint8_t high) {
    return std::any_of(bytes.begin(), bytes.end(),
                       [&](char c) { return uint8_t(c) >= low && uint8_t(c) <= high; });
}

class MoscowFormatTest : public FormatFixture {
  protected:
    Lines Decode(const Lines& lines, const AnsiString& ident = "R_AMT") {
        return FormatFixture::Decode(TMoscowFormat(), lines, ident);
    }

    // The decoded lines of the records, each scrambled with the fixture's constants.
    Lines DecodeRecords(const Lines& records, const AnsiString& ident = "R_AMT") {
        Lines lines;
        for (const AnsiString& record : records) {
            lines.push_back(Scramble(record, moscow_));
        }
        return Decode(lines, ident);
    }

    Rows Convert(const Lines& lines, const TDD& type) { return Fill(TMoscowFormat(), lines, type); }
};

TEST_F(MoscowFormatTest, TestVectorsHoldForTheDecoderAndTheScrambler) {
    struct Vector {
        const char* raw;        // bytes of the file's line, DOS-866
        std::string text;       // the unscrambled text before trimming, Windows-1251
        const char* scrambled;  // what the scrambler makes of the text: 127 spelled out
        bool isRamt;            // whether the text begins with "R_AMT"
    };
    const std::vector<Vector> vectors = {
        {"616567274e3f573c40463a2740463e43", "R_AMT 0012345 77", "616567274e3f573c40463a2740463e43",
         true},
        // Three bytes are shifted from DOS-866 before unscrambling: 8f, 8d, 91.
        {"616567274e8f578d913138273e3d383e3f313a273d2f2a2c", Win("R_AMT АБВ01.  .2020     "),
         "616567274e8f578d913138273e3d383e3f313a273d2f2a2c", true},
        // 17 bytes: the last block is filled up with 127.
        {"616567274e3f573c40463a2740463e4341", "R_AMT 0012345 772wrunxps",
         "616567274e3f573c40463a2740463e43417f7f7f7f7f7f7f", true},
        // A zero byte counts as 127, which makes the line no R_AMT record.
        {"610067274e3f573c40463a2740463e43", "R_AMn 0012345 77", "617f67274e3f573c40463a2740463e43",
         false},
    };
    for (const Vector& v : vectors) {
        const Lines trimmed = {AnsiString(Trim(v.text))};
        // The whole text as the identifier: the unscrambled line is that text, blanks and all.
        EXPECT_EQ(Decode({Bytes(v.raw)}, v.text), trimmed) << v.raw;
        EXPECT_EQ(Decode({Bytes(v.raw)}, "R_AMT"), v.isRamt ? trimmed : Lines{}) << v.raw;
        EXPECT_EQ(Scramble(v.text), Bytes(v.scrambled)) << v.raw;
        EXPECT_EQ(Decode({Bytes(v.scrambled)}, v.text), trimmed) << v.raw;
    }
    EXPECT_EQ(Decode({Bytes("61")}, "R"), Lines{"Rwrunxps"});  // one byte and seven of 127
}

TEST_F(MoscowFormatTest, RandomRecordsComeBackWithAnyConstants) {
    TMoscowConstants other;
    other.Shift = 0x21;
    other.Positions = {0x09, 0x03, 0x00, 0xFE, 0x07, 0xB0, 0x05};  // wrapping around 256
    other.KeyDivisor = 7;
    other.KeyOffset = -3;  // keys below 0 as well
    other.KeyBound = 2;
    std::mt19937 random(20261210);
    std::uniform_int_distribution<size_t> length(1, 40);
    std::uniform_int_distribution<int> byte(0x21, 0xFF);
    for (const TMoscowConstants& constants : {TMoscowConstants(), other}) {
        moscow_ = constants;
        for (int n = 0; n < 2000; ++n) {
            // Characters whose scrambled byte no DOS-866 line can carry are drawn again.
            AnsiString record;
            for (const size_t size = length(random); record.size() < size;) {
                const char c = char(byte(random));
                try {
                    Scramble(record + c, constants);
                    record += c;
                } catch (const std::invalid_argument&) {
                }
            }
            // The whole record is the identifier, so the test is on every character.
            EXPECT_EQ(Decode({Scramble(record, constants)}, record), Lines{record})
                << "record " << n;
        }
    }
}

TEST_F(MoscowFormatTest, CyrillicBytesAreShiftedBeforeUnscramblingAndTheKeyTakesTheShiftedByte) {
    const AnsiString record = Win("Арена ТРЕК 12");
    const std::string line = Scramble(record);
    // The first byte 0x8F is 0xCF after shifting: key 4, where 0x8F would give 5.
    ASSERT_EQ(uint8_t(line[0]), 0x8F);
    ASSERT_TRUE(HasByteIn(line, 0x80, 0xAF) && HasByteIn(line, 0xE0, 0xEF)) << "no shifted bytes";
    EXPECT_EQ(Decode({line}, Win("Арена")), Lines{record});
}

TEST_F(MoscowFormatTest, IdentifierSelectsLinesBeforeTheyAreTrimmed) {
    struct Case {
        const char* what;
        Lines records;
        AnsiString ident;
        Lines kept;
    };
    const std::vector<Case> cases = {
        {"foreign lines between, order kept, blanks and control codes trimmed",
         {"R_AMT 1", "Q_AMT 2", "R_AMT 3\t\x01", "R_XYZ 4", "R_AMT 5"},
         "R_AMT",
         {"R_AMT 1", "R_AMT 3", "R_AMT 5"}},
        {"a blank before the identifier drops the line",
         {" R_AMT 1", "R_AMT 2"},
         "R_AMT",
         {"R_AMT 2"}},
        {"case counts", {"R_aMT 1", "R_AMT 2"}, "R_AMT", {"R_AMT 2"}},
        {"an empty identifier keeps nothing", {"R_AMT 1", " ", "X"}, "", {}},
        {"an identifier across blocks",
         {"R_AMT 0012345 77", "R_AMT 0012346 77"},
         "R_AMT 0012345 7",
         {"R_AMT 0012345 77"}},
        {"a Cyrillic identifier", {Win("АМТ ёлка"), Win("АМ Т")}, Win("АМТ"), {Win("АМТ ёлка")}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecodeRecords(c.records, c.ident), c.kept) << c.what;
    }
}

TEST_F(MoscowFormatTest, EveryLineHasItsOwnKey) {
    // "Q" and "R" scramble to first bytes of keys 5 and 6; equal first bytes share a key.
    const std::string first = Scramble("R_AMT 1");
    const std::string foreign = Scramble("Q_AMT 2");
    const std::string second = Scramble("R_AMT 3");
    ASSERT_EQ(first[0], second[0]);
    ASSERT_NE(moscow_.LineKey(first[0]), moscow_.LineKey(foreign[0]));  // ASCII
    EXPECT_EQ(Decode({first, foreign, second, "", foreign, second}),
              (Lines{"R_AMT 1", "R_AMT 3", "R_AMT 3"}));
    EXPECT_EQ(Decode({foreign}, "Q_AMT"), Lines{"Q_AMT 2"});
}

TEST_F(MoscowFormatTest, StopEndsTheDecodeAtTheNextLine) {
    const Lines lines = {Scramble("R_AMT 1"), Scramble("R_AMT 2"), Scramble("R_AMT 3"),
                         Scramble("R_AMT 4")};
    progress_.stopAt = 50;  // the report before the third of four lines
    EXPECT_EQ(Decode(lines), (Lines{"R_AMT 1", "R_AMT 2"}));
    // Stopped already: the first line's report is made, then the list is emptied.
    progress_.texts.clear();
    EXPECT_TRUE(Decode(lines).empty());
    EXPECT_EQ(progress_.texts, Lines{Win("Декодирование f.txt")});
}

TEST_F(MoscowFormatTest, DecodeAsksForAStopOnceALineAndOnceABlock) {
    // 16 bytes are two blocks, 17 three; an empty line has none.
    Decode({std::string(16, 'a'), std::string(17, 'a'), ""});
    EXPECT_EQ(progress_.stopQuestions, (1 + 2) + (1 + 3) + 1);
}

TEST_F(MoscowFormatTest, StopWithinALineEndsItsUnscramblingAtTheNextBlock) {
    // The questions of the first line: before it, before its first block, its second.
    struct StopAtThirdQuestion : RecordingProgress {
        bool StopRequested() override { return ++stopQuestions >= 3; }
    } progress;
    const std::string line = Scramble("R_AMT 0012345 77");
    platform::LineList list = ToLineList({line, Scramble("R_AMT 2")});
    TMoscowFormat().Decode(list, "R_AMT",
                           {kodObjList_, tipZnakList_, moscow_, fileName_, progress});
    EXPECT_EQ(ToLines(list), Lines{"R_AMT 00"});  // the first block only
    EXPECT_EQ(progress.stopQuestions, 4);         // and the question before the second line
}

TEST_F(MoscowFormatTest, ConvertReportsEveryLineAndConvertsToTheEndDespiteAStop) {
    TDL list;
    TDD& type = *list.Add("t", 1, "R_AMT");
    type.Add("NUM", 3, 7, 0);
    progress_.stop = true;
    const Rows rows = Convert({"R_AMT 1", "R_AMT 2", "R_AMT 3"}, type);
    EXPECT_EQ(rows, (Rows{{"1"}, {"2"}, {"3"}}));
    EXPECT_EQ(progress_.percents, (std::vector<int32_t>{0, 33, 66}));
    EXPECT_EQ(progress_.texts.back(), Win("Преобразование f.txt"));
    EXPECT_EQ(progress_.stopQuestions, 0);  // a fill never asks
}

TEST_F(MoscowFormatTest, FieldsAreCutByColumn) {
    TDL list;
    TDD& type = *list.Add("t", 1, "R_AMT");
    // The first line: R_AMT 1-5, number 7-13, 77 16-17, date 19-28, blank date 30-33, АБВ 35-37.
    const AnsiString line = Win("R_AMT 0012345  77 12.  .2020 .  . АБВ");
    type.Add("ID", 5, 1, 0);
    type.Add("NUM", 7, 7, 0);
    type.Add("OVERLAP", 6, 10, 0);  // takes the end of NUM: "2345  "
    type.Add("PADDED", 4, 14, 0);   // "  77"
    type.Add("DATE", 10, 19, 0);    // "12.  .2020"
    type.Add("WIDE", 14, 18, 0);    // the date amid other text
    type.Add("HALF", 5, 19, 0);     // "12.  ": no second dot in the column
    type.Add("BLANKDATE", 4, 30, 0);
    type.Add("TAIL", 10, 35, 0);   // reaches past the end
    type.Add("LAST", 1, 37, 0);    // the last character
    type.Add("BEYOND", 3, 38, 0);  // starts past the end
    type.Add("CUT", 3, 1, 0);
    const Rows rows = Convert({line, "R_AMT .   . 1", "R_AMT"}, type);
    EXPECT_EQ(
        rows,
        (Rows{
            {"R_AMT", "0012345", "2345", "77", "", "", "12.", "", Win("АБВ"), Win("В"), "", "R_A"},
            // three blanks between the dots are no empty date
            {"R_AMT", ".   . 1", ". 1", "", "", "", "", "", "", "", "", "R_A"},
            {"R_AMT", "", "", "", "", "", "", "", "", "", "", "R_A"},
        }));
}

TEST_F(MoscowFormatTest, SpecialProductsKeepRowsOfAcceptedObjectsOnlyAndNeverTouchNumbers) {
    kodObjList_ = {"ab1", "02"};
    tipZnakList_ = {};  // in the numbered-code format this would amend every row
    TDL list;
    TDD& type = *list.Add("t", 1, "R_AMT");
    type.SpecProd = true;
    type.KodObj = "kod";
    type.TipZnak = "TIP";
    type.Ceria = "CER";
    type.Beg = "BEG";
    type.End = "END";
    type.Add("KOD", 3, 7, 0);
    type.Add("BEG", 6, 11, 0);  // wide enough for a region code appended
    type.Add("END", 6, 18, 0);
    type.Add("TIP", 2, 25, 0);
    type.Add("CER", 2, 28, 0);
    const Lines lines = {
        "R_AMT AB1 0001   0002   10 50",
        "R_AMT 03  0003   0004   10 50",
        "R_AMT 02  0005   0006   77 50",
    };
    EXPECT_EQ(Convert(lines, type),
              (Rows{{"AB1", "0001", "0002", "10", "50"}, {"02", "0005", "0006", "77", "50"}}));

    // An object-code field the table does not have drops every row.
    for (const char* missing : {"NOSUCH", ""}) {
        type.KodObj = missing;
        EXPECT_TRUE(Convert(lines, type).empty()) << "KodObj \"" << missing << "\"";
    }
    type.SpecProd = false;
    EXPECT_EQ(Convert(lines, type).size(), 3u);
}

}  // namespace
