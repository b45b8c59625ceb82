// The journal kvadrel-batch keeps of its work: a line per converted and per
// failed file, read back with --journal, and never a reason to stop.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "app/batch_journal.h"
#include "batch_workspace.h"
#include "tests/temp_directory.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, '\t');) {
        fields.push_back(field);
    }
    return fields;
}

std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

const std::regex kTime("\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d[+-]\\d\\d:\\d\\d");

class BatchJournalTest : public ::testing::Test {
  protected:
    // "Первый" converts in/*.txt into out/; "Второй" reads in2/*.txt into a
    // folder that does not exist, so its files fail.
    void SetUp() override {
        fs::create_directories(ws_.Root() / "in2");
        TDL config;
        TDD* first = ws_.AddType(config, platform::Utf8ToCp1251("Первый"));
        first->Add("F1", 7, 1, 1);
        TDD* second = ws_.AddType(config, platform::Utf8ToCp1251("Второй"));
        second->From = platform::Utf8ToCp1251((ws_.Root() / "in2").string() + "/");
        second->To = platform::Utf8ToCp1251((ws_.Root() / "missing").string() + "/");
        second->Add("F1", 7, 1, 1);
        ws_.Save(config);
        ws_.WriteSource("a.txt", {"&АМТ", "/01=1", "/01=2"});
        ws_.Write("in2/b.txt", "&\xA0\x8C\x92\r\n/01=1\r\n");  // &АМТ in DOS-866
    }

    BatchWorkspace ws_;
};

TEST_F(BatchJournalTest, AConversionAndAFailureEachLeaveALine) {
    const BatchWorkspace::Run run = ws_.RunOnce();
    ASSERT_EQ(run.status, 1) << run.output << run.errors;

    std::vector<std::string> lines = LinesOf(ReadBytes(ws_.Journal()));
    ASSERT_EQ(lines.size(), 2u) << ReadBytes(ws_.Journal());
    const std::vector<std::string> journal = lines;  // in the order written
    // The types are scanned in the order of their names in the store.
    std::sort(lines.begin(), lines.end(), [](const std::string& a, const std::string& b) {
        return Fields(a)[1] > Fields(b)[1];
    });
    const std::vector<std::string> converted = Fields(lines[0]);
    ASSERT_EQ(converted.size(), 5u) << lines[0];
    EXPECT_TRUE(std::regex_match(converted[0], kTime)) << converted[0];
    EXPECT_EQ(converted[1], "Первый");
    EXPECT_EQ(converted[2], (ws_.In() / "a.txt").string());
    EXPECT_EQ(converted[3], (ws_.Out() / "a.dbf").string());
    EXPECT_EQ(converted[4], "2 records");

    const std::vector<std::string> failed = Fields(lines[1]);
    ASSERT_EQ(failed.size(), 4u) << lines[1];
    EXPECT_TRUE(std::regex_match(failed[0], kTime)) << failed[0];
    EXPECT_EQ(failed[1], "Второй");
    EXPECT_EQ(failed[2], (ws_.Root() / "in2" / "b.txt").string());
    EXPECT_TRUE(failed[3].starts_with("failed: ")) << failed[3];
    // The reason is the one the converter printed.
    EXPECT_NE(run.errors.find(failed[3].substr(8)), std::string::npos) << run.errors;

    SCOPED_TRACE("--journal");
    const BatchWorkspace::Run last = ws_.RunToEnd({"--journal", "1"});
    EXPECT_EQ(last.status, 0);
    EXPECT_EQ(last.output, journal[1] + "\n");
    const BatchWorkspace::Run all = ws_.RunToEnd({"--journal"});
    EXPECT_EQ(all.output, journal[0] + "\n" + journal[1] + "\n");
}

TEST_F(BatchJournalTest, AJournalThatCannotBeWrittenIsReportedOnceAndTheWorkGoesOn) {
    ws_.WriteSource("c.txt", {"&АМТ", "/01=3"});
    // The state folder is a file: no journal can be made under it.
    const fs::path blocked = ws_.Write("state-file", "");
    const BatchWorkspace::Run run =
        ws_.RunToEnd(ws_.Arguments(true), {"XDG_STATE_HOME=" + blocked.string()});
    EXPECT_EQ(run.status, 1);  // b.txt failed, as without the journal
    std::vector<std::string> output = LinesOf(run.output);
    std::sort(output.begin(), output.end());  // files are taken in the order the folder lists them
    EXPECT_EQ(output[0] + "\n" + output[1] + "\n",
              ws_.Converted("a.txt", "a.dbf", 2) + ws_.Converted("c.txt", "c.dbf", 1))
        << run.errors;
    EXPECT_FALSE(fs::exists(ws_.In() / "a.txt"));
    EXPECT_FALSE(fs::exists(ws_.In() / "c.txt"));
    size_t reports = 0;
    for (size_t at = run.errors.find("journal"); at != std::string::npos;
         at = run.errors.find("journal", at + 1)) {
        ++reports;
    }
    EXPECT_EQ(reports, 1u) << run.errors;
    EXPECT_NE(run.errors.find(blocked.string()), std::string::npos) << run.errors;
}

TEST(BatchJournalLine, ControlCharactersInNamesKeepALineOneLine) {
    const auto time = std::chrono::system_clock::from_time_t(0);
    const std::string converted =
        ConvertedJournalLine(time, "T\tx", "/in/a\nb.txt", "/o\\a.dbf", 3);
    EXPECT_TRUE(converted.ends_with("\tT\\tx\t/in/a\\nb.txt\t/o\\\\a.dbf\t3 records\n"))
        << converted;
    const std::string failed = FailedJournalLine(time, "", "/in/\x1b[2J", "bad\r\nthing");
    EXPECT_TRUE(failed.ends_with("\t\t/in/\\x1B[2J\tfailed: bad\\x0D\\nthing\n")) << failed;
}

}  // namespace
