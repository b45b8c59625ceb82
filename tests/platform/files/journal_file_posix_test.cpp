// The journal file on POSIX systems: whole lines from writers in several
// processes, and the local time in the zone TZ names.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "platform/files/journal_file.h"
#include "tests/temp_directory.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> LinesOf(const fs::path& file) {
    std::vector<std::string> lines;
    std::ifstream in(file, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// A line of writer `writer`, numbered, long enough that a torn write would show.
std::string WriterLine(int writer, int number) {
    return "writer " + std::to_string(writer) + " line " + std::to_string(number) + " " +
           std::string(200, char('a' + writer)) + "\n";
}

bool IsWholeWriterLine(const std::string& line) {
    static const std::regex pattern("writer ([0-9]) line [0-9]+ ([a-z])\\2{199}");
    std::smatch match;
    return std::regex_match(line, match, pattern) &&
           match[1].str()[0] - '0' == match[2].str()[0] - 'a';
}

// Runs `writers` processes that each append `lines` lines at once.
void AppendFromProcesses(const fs::path& journal, int writers, int lines, std::uintmax_t rotateAt) {
    std::vector<pid_t> children;
    for (int writer = 0; writer < writers; ++writer) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            try {
                for (int number = 0; number < lines; ++number) {
                    platform::AppendJournalLine(journal, WriterLine(writer, number), rotateAt);
                }
                std::_Exit(0);
            } catch (...) {
                std::_Exit(1);
            }
        }
        children.push_back(child);
    }
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
}

TEST(JournalFile, LinesOfTwoProcessesAppendingTogetherStayWhole) {
    TempDirectory root;
    const fs::path journal = root.path() / "journal.log";
    AppendFromProcesses(journal, 2, 3000, 100 * 1024 * 1024);
    const std::vector<std::string> lines = LinesOf(journal);
    ASSERT_EQ(lines.size(), 6000u);
    std::set<std::string> distinct;
    for (const std::string& line : lines) {
        ASSERT_TRUE(IsWholeWriterLine(line)) << line;
        distinct.insert(line);
    }
    EXPECT_EQ(distinct.size(), 6000u);
}

TEST(JournalFile, TwoWritersFindingItFullRotateItOnce) {
    TempDirectory root;
    const fs::path journal = root.path() / "journal.log";
    constexpr std::uintmax_t kLimit = 64 * 1024;
    AppendFromProcesses(journal, 2, 3000, kLimit);
    // A second rotation right after the first would leave an almost empty
    // previous file; a rename only ever happens to a full journal.
    EXPECT_GE(fs::file_size(journal.string() + ".1"), kLimit);
    for (const fs::path& file : {journal, fs::path(journal.string() + ".1")}) {
        for (const std::string& line : LinesOf(file)) {
            ASSERT_TRUE(IsWholeWriterLine(line)) << file << ": " << line;
        }
    }
}

TEST(JournalFile, LocalTimeCarriesItsOffset) {
    const char* saved = std::getenv("TZ");
    const std::string savedZone = saved != nullptr ? saved : "";
    const auto time =
        std::chrono::system_clock::from_time_t(1700000000);  // 2023-11-14 22:13:20 UTC
    const struct {
        const char* zone;
        const char* text;
    } cases[] = {
        {"UTC0", "2023-11-14T22:13:20+00:00"},
        {"MSK-3", "2023-11-15T01:13:20+03:00"},
        {"NST3:30", "2023-11-14T18:43:20-03:30"},
    };
    for (const auto& test : cases) {
        ::setenv("TZ", test.zone, 1);
        ::tzset();
        EXPECT_EQ(platform::LocalTimeWithOffset(time), test.text) << test.zone;
    }
    if (saved != nullptr) {
        ::setenv("TZ", savedZone.c_str(), 1);
    } else {
        ::unsetenv("TZ");
    }
    ::tzset();
}

}  // namespace
