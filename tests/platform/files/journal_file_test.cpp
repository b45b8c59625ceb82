// The journal file: appending, rotation at its limit with one previous
// file, and the reading of its last lines.
#include "platform/files/journal_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "tests/temp_directory.h"

namespace fs = std::filesystem;

namespace {

TEST(JournalFile, CreatesItsFoldersAndAppends) {
    TempDirectory root;
    const fs::path journal = root.path() / "state" / "kvadrel" / "journal.log";
    platform::AppendJournalLine(journal, "one\n", 1000);
    platform::AppendJournalLine(journal, "two\n", 1000);
    EXPECT_EQ(ReadBytes(journal), "one\ntwo\n");
}

TEST(JournalFile, IsRotatedAtItsLimitKeepingOnePreviousFile) {
    TempDirectory root;
    const fs::path journal = root.path() / "journal.log";
    const fs::path previous = root.path() / "journal.log.1";
    platform::AppendJournalLine(journal, "first\n", 10);
    platform::AppendJournalLine(journal, "second\n", 10);  // 6 bytes: not full yet
    EXPECT_FALSE(fs::exists(previous));
    platform::AppendJournalLine(journal, "third\n", 10);  // 13 bytes: full, rotated first
    EXPECT_EQ(ReadBytes(previous), "first\nsecond\n");
    EXPECT_EQ(ReadBytes(journal), "third\n");
    platform::AppendJournalLine(journal, "fourth\n", 10);
    platform::AppendJournalLine(journal, "fifth\n", 10);
    EXPECT_EQ(ReadBytes(previous), "third\nfourth\n");  // the oldest file is gone
    EXPECT_EQ(ReadBytes(journal), "fifth\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(root.path()), fs::directory_iterator()), 2);
}

TEST(JournalFile, LastLinesComeFromThePreviousFileToo) {
    TempDirectory root;
    const fs::path journal = root.path() / "journal.log";
    EXPECT_TRUE(platform::LastJournalLines(journal, 20).empty());
    root.Write("journal.log.1", "a\nb\nc\n");
    root.Write("journal.log", "d\ne\n");
    EXPECT_EQ(platform::LastJournalLines(journal, 1), (std::vector<std::string>{"e"}));
    EXPECT_EQ(platform::LastJournalLines(journal, 3), (std::vector<std::string>{"c", "d", "e"}));
    EXPECT_EQ(platform::LastJournalLines(journal, 20),
              (std::vector<std::string>{"a", "b", "c", "d", "e"}));
    EXPECT_TRUE(platform::LastJournalLines(journal, 0).empty());
}

}  // namespace
