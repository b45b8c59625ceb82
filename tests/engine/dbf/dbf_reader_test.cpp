#include "engine/dbf/dbf_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "engine/dbf/dbf_table.h"
#include "tests/engine/dbf/dbf_test_support.h"

namespace fs = std::filesystem;

namespace {

class DbfReaderTest : public ::testing::Test {
  protected:
    // Header 32 + 2 x 32 + 1 = 97 bytes, records of 1 + 3 + 2 bytes, end marker at 109.
    void SetUp() override {
        valid = ReadBytes(WriteTable(dir, "valid.dbf", {{u"F1", 3}, {u"F2", 2}},
                                     {{"abc", "de"}, {"xy", Ansi("ж")}}));
        ASSERT_EQ(valid.size(), 110u);
    }

    fs::path Variant(const std::function<void(std::string&)>& change) {
        std::string bytes = valid;
        change(bytes);
        return dir.Write("variant.dbf", bytes);
    }

    TempDirectory dir;
    std::string valid;
};

TEST_F(DbfReaderTest, ReadsFieldsRawRowsAndTheHeaderFacts) {
    const DbfContents contents = ReadDbf(dir.path() / "valid.dbf");
    ASSERT_EQ(contents.fields.size(), 2u);
    EXPECT_EQ(contents.fields[0].name, "F1");
    EXPECT_EQ(contents.fields[0].width, 3);
    EXPECT_EQ(contents.fields[1].name, "F2");
    EXPECT_EQ(contents.fields[1].width, 2);
    EXPECT_EQ(contents.languageDriver, 0xC9);
    const dbf::Date today = dbf::Today();
    EXPECT_EQ(contents.lastUpdate.year, today.year);
    EXPECT_EQ(contents.lastUpdate.month, today.month);
    const std::vector<std::vector<AnsiString>> rows = {{"abc", "de"}, {"xy ", Ansi("ж ")}};
    EXPECT_EQ(contents.rows, rows);
    EXPECT_EQ(contents.Value(1, 0), "xy");
    EXPECT_EQ(contents.Value(1, 1), Ansi("ж"));
}

TEST_F(DbfReaderTest, SkipsDeletedRecordsAndAcceptsAMissingEndMarker) {
    DbfContents contents = ReadDbf(Variant([](std::string& b) { b[97] = '*'; }));
    ASSERT_EQ(contents.rows.size(), 1u);
    EXPECT_EQ(contents.Value(0, 0), "xy");

    contents = ReadDbf(Variant([](std::string& b) { b.pop_back(); }));
    EXPECT_EQ(contents.rows.size(), 2u);
}

TEST_F(DbfReaderTest, RefusesMalformedFilesSayingWhy) {
    struct Case {
        const char* what;
        std::function<void(std::string&)> change;
        std::string reason;
        bool tableRefusesToo;  // whether opening it to append fails as well
    };
    const std::vector<Case> cases = {
        {"empty", [](std::string& b) { b.clear(); }, "shorter than the 32-byte table header", true},
        {"cut in the table header", [](std::string& b) { b.resize(20); },
         "shorter than the 32-byte table header", true},
        {"cut in the descriptors", [](std::string& b) { b.resize(60); },
         "the file ends inside the header", true},
        {"cut in the records", [](std::string& b) { b.resize(100); },
         "fewer records than its header counts", true},
        {"more records counted", [](std::string& b) { b[4] = 3; },
         "fewer records than its header counts", true},
        {"other version", [](std::string& b) { b[0] = 0x30; }, "version byte is 48, not 3", true},
        {"memo version", [](std::string& b) { b[0] = char(0x83); }, "version byte is 131", true},
        {"header length off the grid", [](std::string& b) { b[8] = 98; }, "header length 98", true},
        {"header without fields", [](std::string& b) { b[8] = 33; }, "header length 33", true},
        {"no terminator", [](std::string& b) { b[96] = ' '; }, "do not end with 0x0D", true},
        {"record length", [](std::string& b) { b[10] = 7; }, "record length 7 differs", true},
        {"numeric field", [](std::string& b) { b[32 + 11] = 'N'; },
         "field 1 is not a character field", true},
        {"width 0", [](std::string& b) { b[64 + 16] = 0; }, "field 2 has width 0", true},
        {"decimals", [](std::string& b) { b[32 + 17] = 1; }, "field 1 has a nonzero decimal", true},
        {"empty name", [](std::string& b) { b[32] = 0; }, "field 1 has an empty name", true},
        {"name without NUL", [](std::string& b) { b.replace(32, 11, 11, 'A'); },
         "field 1 has a name without a terminating NUL", true},
        {"unknown record flag", [](std::string& b) { b[103] = 'X'; },
         "record 2 has an unknown deletion flag", false},
        {"bytes after the records", [](std::string& b) { b += "junk"; },
         "unexpected bytes after the records", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path path = Variant(c.change);
        ExpectFailure([&] { ReadDbf(path); }, path.string() + ": ");
        ExpectFailure([&] { ReadDbf(path); }, c.reason);
        if (c.tableRefusesToo) {
            TTable table;
            DefineTable(table, dir, "variant.dbf", {});
            ExpectFailure([&] { table.Open(); }, c.reason);
            EXPECT_FALSE(table.Active());
        }
    }
    ExpectFailure([&] { ReadDbf(dir.path() / "missing.dbf"); }, "cannot read");
}

}  // namespace
