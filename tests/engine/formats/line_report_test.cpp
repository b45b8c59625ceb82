#include "engine/formats/line_report.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "engine/formats/coded_format.h"
#include "engine/formats/moscow_format.h"
#include "tests/engine/formats/format_fixture.h"

namespace {

const AnsiString kDecoding = "\xC4\xE5\xEA\xEE\xE4\xE8\xF0\xEE\xE2\xE0\xED\xE8\xE5 f.txt";
const AnsiString kFilling = "\xCF\xF0\xE5\xEE\xE1\xF0\xE0\xE7\xEE\xE2\xE0\xED\xE8\xE5 f.txt";

class LineReportTest : public FormatFixture {
  protected:
    // The percentages reported over the lines of a step of `count` lines,
    // to its end.
    std::vector<int32_t> ReportAll(TFormatStep step, size_t count) {
        progress_ = {};
        TLineReport report(step, Context(), count);
        for (size_t i = 0; i < count; ++i) {
            report.Before(i);
        }
        report.End();
        return progress_.percents;
    }
};

// 0 to 99, as a step of more than 100 lines reports them.
std::vector<int32_t> EveryPercentage() {
    std::vector<int32_t> percents;
    for (int32_t p = 0; p < 100; ++p) {
        percents.push_back(p);
    }
    return percents;
}

TEST_F(LineReportTest, EachPercentageOfTheLinesIsReportedOnceInOrder) {
    const std::vector<std::pair<size_t, std::vector<int32_t>>> cases = {
        {0, {}},
        {1, {0}},
        {3, {0, 33, 66}},
        {7, {0, 14, 28, 42, 57, 71, 85}},
        {101, EveryPercentage()},  // 0 for two lines, then one line each
        {250, EveryPercentage()},
    };
    for (const auto& [count, percents] : cases) {
        EXPECT_EQ(ReportAll(TFormatStep::Decode, count), percents) << count << " lines";
    }
}

TEST_F(LineReportTest, EveryLineOfAPercentageAfterItsFirstIsSilent) {
    // 1000 lines: a report on lines 0, 10, 20, ... and none between.
    progress_ = {};
    TLineReport report(TFormatStep::Fill, Context(), 1000);
    for (size_t i = 0; i < 1000; ++i) {
        const size_t before = progress_.percents.size();
        report.Before(i);
        ASSERT_EQ(progress_.percents.size() - before, i % 10 == 0 ? 1u : 0u) << "line " << i;
    }
    EXPECT_EQ(progress_.percents.back(), 99);
}

TEST_F(LineReportTest, TheTextNamesTheStepAndTheFile) {
    for (const auto& [step, text] :
         {std::pair{TFormatStep::Decode, kDecoding}, std::pair{TFormatStep::Fill, kFilling}}) {
        ReportAll(step, 5);
        EXPECT_EQ(progress_.texts, std::vector<AnsiString>(5, text));
    }
}

// Whether another program wants the file costs a question per report and
// one at the end, however many lines.
TEST_F(LineReportTest, AsksWhetherTheFileIsWantedWithEachReportAndAtTheEnd) {
    for (const size_t count : std::initializer_list<size_t>{0, 1, 7, 250, 100000}) {
        const size_t reports = ReportAll(TFormatStep::Fill, count).size();
        EXPECT_EQ(size_t(progress_.wantedQuestions), reports + 1) << count << " lines";
    }
}

TEST_F(LineReportTest, AFileWantedAtTheEndOfAStepEndsIt) {
    progress_ = {};
    TLineReport report(TFormatStep::Decode, Context(), 3);
    for (size_t i = 0; i < 3; ++i) {
        report.Before(i);
    }
    progress_.wanted = true;
    EXPECT_THROW(report.End(), TSourceWanted);
}

// Either step of either format ends at the report after the file became
// wanted, the fill between two rows: the 80 lines before 40 % are its rows.
TEST_F(LineReportTest, AFileWantedEndsEitherStepOfEitherFormatAtTheNextReport) {
    TDL types;
    TDD& type = *types.Add("t", 0, "");
    type.Add("A", 10, 1, 1);
    const Lines lines(200, "/01=x");
    const TCodedFormat coded;
    const TMoscowFormat moscow;
    for (const TRecordFormat* format :
         {static_cast<const TRecordFormat*>(&coded), static_cast<const TRecordFormat*>(&moscow)}) {
        for (const TFormatStep step : {TFormatStep::Decode, TFormatStep::Fill}) {
            SCOPED_TRACE(std::string(format == &coded ? "coded" : "Moscow") +
                         (step == TFormatStep::Decode ? ", decode" : ", fill"));
            progress_ = {};
            progress_.wantedAt = 40;
            platform::LineList list = ToLineList(lines);
            if (step == TFormatStep::Decode) {
                EXPECT_THROW(format->Decode(list, "", Context()), TSourceWanted);
            } else {
                TTable table;
                CreateTable(table, type, "t.dbf");
                table.Open();
                EXPECT_THROW(format->Fill(table, list, type, Context()), TSourceWanted);
                EXPECT_EQ(table.RecordCount(), 80);
                table.Close();
                std::filesystem::remove(folder_.path() / "t.dbf");
            }
            EXPECT_EQ(progress_.percents.back(), 40);
            EXPECT_EQ(progress_.wantedQuestions, 41);  // at 0 to 40 %
        }
    }
}

}  // namespace
