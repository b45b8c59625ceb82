#include "engine/formats/line_report.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "tests/engine/formats/format_fixture.h"

namespace {

const AnsiString kDecoding = "\xC4\xE5\xEA\xEE\xE4\xE8\xF0\xEE\xE2\xE0\xED\xE8\xE5 f.txt";
const AnsiString kFilling = "\xCF\xF0\xE5\xEE\xE1\xF0\xE0\xE7\xEE\xE2\xE0\xED\xE8\xE5 f.txt";

class LineReportTest : public FormatFixture {
  protected:
    // The percentages reported over the lines of a step of `count` lines.
    std::vector<int32_t> ReportAll(TFormatStep step, size_t count) {
        progress_ = {};
        TLineReport report(step, Context(), count);
        for (size_t i = 0; i < count; ++i) {
            report.Before(i);
        }
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

}  // namespace
