#include "engine/dbf/dbf_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <system_error>
#include <vector>

#include "engine/dbf/dbf_reader.h"
#include "platform/files/native_path.h"
#include "tests/engine/dbf/dbf_test_support.h"

namespace fs = std::filesystem;

namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (int value : values) {
        bytes += char(value);
    }
    return bytes;
}

std::string Zeros(size_t count) {
    return std::string(count, '\0');
}

std::string DateBytes(const dbf::Date& date) {
    return Bytes({date.year - 1900, date.month, date.day});
}

// Fields F1 to F<count>, one character wide.
FieldList NumberedFields(int count) {
    FieldList fields;
    for (int i = 1; i <= count; ++i) {
        std::string name = std::to_string(i);
        name.insert(0, 1, 'F');
        fields.emplace_back(platform::Utf8ToUtf16(name), 1);
    }
    return fields;
}

// Inserts and posts one record per row, values given field by field.
void PostRows(TTable& table, const std::vector<std::vector<AnsiString>>& rows) {
    for (const auto& row : rows) {
        table.Insert();
        for (size_t i = 0; i < row.size(); ++i) {
            table.FieldByName(Ansi("F") + std::to_string(i + 1)).SetAsString(row[i]);
        }
        table.Post();
    }
}

class DbfTableTest : public ::testing::Test {
  protected:
    TempDirectory dir;
    TTable table;
};

TEST_F(DbfTableTest, WritesTheDbaseIIIHeaderDescriptorsAndRecords) {
    const dbf::Date before = dbf::Today();
    DefineTable(table, dir, "report.tmp", {{u"name", 4}, {u"Город", 6}});
    table.CreateTable();
    table.Open();
    table.Insert();
    table.FieldByName(u"name").SetAsString("ab");
    table.FieldByName(u"Город").SetAsString(Ansi("Омск"));
    table.Post();
    table.Insert();
    table.FieldByName(u"name").SetAsString("wxyz");
    table.FieldByName(u"Город").SetAsString(Ansi("Тверь"));
    table.Post();
    table.Close();
    const dbf::Date after = dbf::Today();

    const std::string bytes = ReadBytes(dir.path() / "report.tmp");
    ASSERT_GE(bytes.size(), 4u);
    const std::string date = bytes.substr(1, 3);
    EXPECT_TRUE(date == DateBytes(before) || date == DateBytes(after));

    const std::string expected =
        Bytes({0x03}) + date + Bytes({2, 0, 0, 0}) +  // version, date, record count
        Bytes({97, 0}) + Bytes({11, 0}) +             // header and record length
        Zeros(17) + Bytes({0xC9, 0, 0}) +             // language driver 1251
        "NAME" + Zeros(7) + "C" + Zeros(4) + Bytes({4, 0}) + Zeros(14) +  // name, type, width
        Ansi("ГОРОД") + Zeros(6) + "C" + Zeros(4) + Bytes({6, 0}) + Zeros(14) +
        Bytes({0x0D}) +             // end of the descriptors
        " ab  " + Ansi("Омск  ") +  // live record, values padded
        " wxyz" + Ansi("Тверь ") + Bytes({0x1A});
    EXPECT_EQ(bytes, expected);
}

TEST_F(DbfTableTest, StoresValuesAsGivenCutToTheWidthAndPaddedWithBlanks) {
    struct Case {
        std::string given;
        std::string stored;
    };
    const std::vector<Case> cases = {
        {"", "     "},
        {"ab", "ab   "},
        {"abcde", "abcde"},
        {"abcdefgh", "abcde"},
        {" a b ", " a b "},
        {Ansi("Ёжик№"), Ansi("Ёжик№")},
        {Ansi("Щука-рыба"), Ansi("Щука-")},
        {std::string("a\0b", 3), std::string("a\0b  ", 5)},
    };
    DefineTable(table, dir, "values.tmp", {{u"F1", 5}, {u"F2", 3}});
    table.CreateTable();
    table.Open();
    for (const auto& c : cases) {
        table.Insert();
        // The neighbour is set first: a value running past its width would overwrite it.
        table.FieldByName(u"F2").SetAsString("xyz");
        TField& field = table.FieldByName(u"F1");
        // An empty value comes as a view without data, as a missing item gives it.
        field.SetAsString(c.given.empty() ? std::string_view() : std::string_view(c.given));
        EXPECT_EQ(field.AsString(), std::string(dbf::WithoutTrailingBlanks(c.stored))) << c.given;
        table.Post();
    }
    table.Close();

    const DbfContents contents = ReadDbf(dir.path() / "values.tmp");
    ASSERT_EQ(contents.rows.size(), cases.size());
    for (size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(contents.rows[i][0], cases[i].stored) << cases[i].given;
        EXPECT_EQ(contents.rows[i][1], "xyz");
    }
}

TEST_F(DbfTableTest, CancelAndCloseDropTheRecordBeingInserted) {
    DefineTable(table, dir, "t.tmp", {{u"F1", 8}});
    table.CreateTable();
    table.Open();
    table.Insert();
    table.FieldByName(u"F1").SetAsString("dropped");
    table.Cancel();
    table.Insert();
    EXPECT_EQ(table.FieldByName(u"F1").AsString(), "");  // a new record starts blank
    table.FieldByName(u"F1").SetAsString("kept");
    table.Post();
    table.Cancel();  // nothing being inserted: nothing happens
    table.Insert();
    table.FieldByName(u"F1").SetAsString("pending");
    table.Close();

    EXPECT_EQ(table.RecordCount(), 1);
    const DbfContents contents = ReadDbf(dir.path() / "t.tmp");
    ASSERT_EQ(contents.rows.size(), 1u);
    EXPECT_EQ(contents.Value(0, 0), "kept");
}

TEST_F(DbfTableTest, FieldByNameIgnoresCaseAndFailsForAMissingName) {
    DefineTable(table, dir, "t.tmp", {{u"Name", 5}, {u"Город", 7}, {u"їжак", 2}});
    table.CreateTable();
    table.Open();

    TField& name = table.FieldByName(u"NAME");
    EXPECT_EQ(&table.FieldByName(u"name"), &name);
    EXPECT_EQ(&table.FieldByName(AnsiString("nAmE")), &name);
    EXPECT_EQ(name.FieldName(), u"NAME");
    EXPECT_EQ(name.Size(), 5);

    TField& city = table.FieldByName(u"город");
    EXPECT_EQ(&table.FieldByName(u"ГОРОД"), &city);
    EXPECT_EQ(&table.FieldByName(Ansi("гОрОд")), &city);
    EXPECT_EQ(city.FieldName(), u"ГОРОД");
    EXPECT_EQ(city.Size(), 7);
    EXPECT_EQ(&table.FieldByName(u"ЇЖАК"), &table.FieldByName(Ansi("Їжак")));

    ExpectFailure([&] { table.FieldByName(u"Улица"); }, "Field 'Улица' not found");
    ExpectFailure([&] { table.FieldByName(Ansi("Улица")); }, "Field 'Улица' not found");
    ExpectFailure([&] { table.FieldByName(u"Name中"); }, "Field 'Name中' not found");
    ExpectFailure([&] { table.FieldByName(u""); }, "Field '' not found");
}

TEST_F(DbfTableTest, RecordOperationsNeedAnOpenTableAndARecordBeingInserted) {
    DefineTable(table, dir, "t.tmp", {{u"F1", 5}});
    table.CreateTable();
    ExpectFailure([&] { table.FieldByName(u"F1"); }, "not open");
    ExpectFailure([&] { table.Insert(); }, "not open");
    ExpectFailure([&] { table.Post(); }, "no record is being inserted");

    table.Open();
    TField& field = table.FieldByName(u"F1");
    ExpectFailure([&] { field.SetAsString("x"); }, "no record is being inserted");
    ExpectFailure([&] { field.AsString(); }, "no record is being inserted");
    ExpectFailure([&] { table.Post(); }, "no record is being inserted");
    table.Insert();
    ExpectFailure([&] { table.Insert(); }, "being inserted already");
    table.Post();
    table.Close();
    table.Close();  // closing a closed table does nothing
    EXPECT_EQ(ReadDbf(dir.path() / "t.tmp").rows.size(), 1u);
}

TEST_F(DbfTableTest, EmptyTableIsValid) {
    DefineTable(table, dir, "empty.tmp", {{u"F1", 10}, {u"F2", 20}});
    table.CreateTable();
    // Created and never opened, then opened and closed without records.
    for (int round = 0; round < 2; ++round) {
        const DbfContents contents = ReadDbf(dir.path() / "empty.tmp");
        ASSERT_EQ(contents.fields.size(), 2u);
        EXPECT_EQ(contents.fields[1].name, "F2");
        EXPECT_EQ(contents.fields[1].width, 20);
        EXPECT_TRUE(contents.rows.empty());
        EXPECT_EQ(fs::file_size(dir.path() / "empty.tmp"), 32u + 2 * 32 + 1 + 1);
        table.Open();
        table.Close();
        EXPECT_EQ(table.RecordCount(), 0);
    }
}

TEST_F(DbfTableTest, RecordsCrossingTheWriteBufferArriveWholeAndInOrder) {
    // Records of 251 bytes: block boundaries fall inside records.
    constexpr int kRecords = 10000;
    DefineTable(table, dir, "big.tmp", {{u"F1", 100}, {u"F2", 100}, {u"F3", 50}});
    table.CreateTable();
    table.Open();
    for (int i = 0; i < kRecords; ++i) {
        PostRows(table, {{std::to_string(i), Ansi("Строка"), std::to_string(i * 7)}});
    }
    table.Close();

    EXPECT_EQ(table.RecordCount(), kRecords);
    EXPECT_EQ(fs::file_size(dir.path() / "big.tmp"), 32u + 3 * 32 + 1 + kRecords * 251u + 1);
    const DbfContents contents = ReadDbf(dir.path() / "big.tmp");
    ASSERT_EQ(contents.rows.size(), size_t(kRecords));
    for (int i = 0; i < kRecords; ++i) {
        ASSERT_EQ(contents.Value(i, 0), std::to_string(i));
        ASSERT_EQ(contents.Value(i, 1), Ansi("Строка"));
        ASSERT_EQ(contents.Value(i, 2), std::to_string(i * 7));
    }
}

TEST_F(DbfTableTest, ReopenedTableAppendsAfterItsRecords) {
    DefineTable(table, dir, "t.tmp", {{u"F1", 3}});
    table.CreateTable();
    table.Open();
    PostRows(table, {{"one"}, {"two"}});
    table.Close();
    table.Open();
    EXPECT_EQ(table.RecordCount(), 2);
    PostRows(table, {{Ansi("три")}});
    table.Close();

    const DbfContents contents = ReadDbf(dir.path() / "t.tmp");
    ASSERT_EQ(contents.rows.size(), 3u);
    EXPECT_EQ(contents.Value(0, 0), "one");
    EXPECT_EQ(contents.Value(1, 0), "two");
    EXPECT_EQ(contents.Value(2, 0), Ansi("три"));
}

TEST_F(DbfTableTest, DestroyingAnOpenTableClosesIt) {
    {
        TTable scoped;
        DefineTable(scoped, dir, "t.tmp", {{u"F1", 4}});
        scoped.CreateTable();
        scoped.Open();
        PostRows(scoped, {{"last"}});
    }
    const DbfContents contents = ReadDbf(dir.path() / "t.tmp");
    ASSERT_EQ(contents.rows.size(), 1u);
    EXPECT_EQ(contents.Value(0, 0), "last");
}

// A table about to be removed is closed with nothing more written: what was
// buffered never reaches the file, and the closed table can be removed.
TEST_F(DbfTableTest, DiscardClosesWithoutWritingAndTheTableCanBeRemoved) {
    DefineTable(table, dir, "t.tmp", {{u"F1", 4}});
    table.CreateTable();
    const std::string created = ReadBytes(dir.path() / "t.tmp");
    table.Open();
    PostRows(table, {{"one"}, {"two"}});
    table.Insert();
    table.Discard();
    EXPECT_FALSE(table.Active());
    EXPECT_EQ(ReadBytes(dir.path() / "t.tmp"), created);
    table.Discard();  // closed already: nothing to do
    table.DeleteTable();
    EXPECT_FALSE(fs::exists(dir.path() / "t.tmp"));
}

TEST_F(DbfTableTest, RefusesFieldListsOutsideTheRulesAndWritesNothing) {
    struct Case {
        const char* what;
        FieldList fields;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {"no field", {}, "a table needs at least one field"},
        {"256 fields", NumberedFields(256), "at most 255 fields, 256 given"},
        {"empty name", {{u"A", 1}, {u"", 1}}, "field 2 '': the name is empty"},
        {"11 characters", {{u"ABCDEFGHIJK", 1}}, "field 1 'ABCDEFGHIJK': the name is longer"},
        {"digit first", {{u"1ABC", 1}}, "field 1 '1ABC': the name does not start with a letter"},
        {"underscore first", {{u"_ABC", 1}}, "does not start with a letter"},
        {"blank inside", {{u"A B", 1}}, "field 1 'A B': the name may hold only letters"},
        {"hyphen", {{u"Код-1", 1}}, "field 1 'Код-1': the name may hold only letters"},
        {"outside 1251", {{u"A中", 1}}, "field 1 'A中': the name has characters outside"},
        {"same name", {{u"Name", 1}, {u"NAME", 1}}, "field 2 'NAME': the name repeats field 1"},
        {"same Cyrillic name", {{u"имя", 1}, {u"X", 1}, {u"ИМЯ", 1}}, "repeats field 1"},
        {"same Ukrainian name", {{u"їжак", 1}, {u"ЇЖАК", 1}}, "repeats field 1"},
        {"width 0", {{u"A", 0}}, "field 1 'A': the width 0 is outside 1 to 255"},
        {"width 256", {{u"A", 256}}, "the width 256 is outside 1 to 255"},
        {"negative width", {{u"A", -1}}, "the width -1 is outside 1 to 255"},
    };
    for (const auto& c : cases) {
        DefineTable(table, dir, "t.tmp", c.fields);
        ExpectFailure([&] { table.CreateTable(); }, "cannot create table");
        ExpectFailure([&] { table.CreateTable(); }, c.reason);
        EXPECT_FALSE(fs::exists(fs::symlink_status(dir.path() / "t.tmp"))) << c.what;
    }

    DefineTable(table, dir, "t.tmp", {{u"A", 1}});
    table.FieldDefs.Clear();
    table.FieldDefs.Add(u"A", ftString, 1, true);
    ExpectFailure([&] { table.CreateTable(); }, "field 1 'A': a dBASE character field cannot be");
    EXPECT_FALSE(fs::exists(dir.path() / "t.tmp"));
}

TEST_F(DbfTableTest, AcceptsNamesAndWidthsAtTheLimitsAndStoresNamesUpperCased) {
    DefineTable(table, dir, "t.tmp",
                {{u"a", 1},
                 {u"abcdefghij", 255},
                 {u"поле_1", 3},
                 {u"ёж", 2},
                 {u"z9_", 1},
                 {u"ґанок", 1},
                 {u"Її", 1}});
    table.CreateTable();
    const std::vector<std::pair<std::string, int>> expected = {
        {"A", 1},   {"ABCDEFGHIJ", 255}, {"ПОЛЕ_1", 3}, {"ЁЖ", 2},
        {"Z9_", 1}, {"ҐАНОК", 1},        {"ЇЇ", 1},
    };
    const DbfContents contents = ReadDbf(dir.path() / "t.tmp");
    ASSERT_EQ(contents.fields.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(contents.fields[i].name, Ansi(expected[i].first));
        EXPECT_EQ(contents.fields[i].width, expected[i].second);
    }

    DefineTable(table, dir, "most.tmp", NumberedFields(255));
    table.CreateTable();
    EXPECT_EQ(ReadDbf(dir.path() / "most.tmp").fields.size(), 255u);
}

// False where the system makes no symbolic links for us (Windows without the
// privilege for them, Wine).
bool MakeLink(const fs::path& target, const fs::path& link) {
    std::error_code error;
    fs::create_symlink(target, link, error);
    return !error;
}

TEST_F(DbfTableTest, CreateTableNeverWritesThroughALinkAtItsName) {
    dir.Write("victim.dbf", "precious");
    if (!MakeLink(dir.path() / "victim.dbf", dir.path() / "x.tmp") ||
        !MakeLink(dir.path() / "absent.dbf", dir.path() / "dangling.tmp")) {
        GTEST_SKIP() << "this system makes no symbolic links here";
    }

    for (const std::string name : {"x.tmp", "dangling.tmp"}) {
        DefineTable(table, dir, name, {{u"F1", 5}});
        ExpectFailure([&] { table.CreateTable(); }, "cannot create table");
        EXPECT_TRUE(fs::is_symlink(dir.path() / name));
    }
    EXPECT_EQ(ReadBytes(dir.path() / "victim.dbf"), "precious");
    EXPECT_FALSE(fs::exists(dir.path() / "absent.dbf"));

    // The worker deletes what it finds there: the link goes, its target stays.
    DefineTable(table, dir, "x.tmp", {{u"F1", 5}});
    EXPECT_TRUE(table.Exists());
    table.DeleteTable();
    EXPECT_FALSE(table.Exists());
    table.CreateTable();
    EXPECT_FALSE(fs::is_symlink(dir.path() / "x.tmp"));
    EXPECT_EQ(ReadBytes(dir.path() / "victim.dbf"), "precious");
}

TEST_F(DbfTableTest, OpenRefusesALinkAndAFileThatIsNotATable) {
    dir.Write("victim.dbf", "precious");
    DefineTable(table, dir, "link.tmp", {{u"F1", 5}});
    if (MakeLink(dir.path() / "victim.dbf", dir.path() / "link.tmp")) {  // not everywhere
        ExpectFailure([&] { table.Open(); }, "cannot open table");
    }
    fs::create_directory(dir.path() / "folder.tmp");
    table.TableName = "folder.tmp";
    ExpectFailure([&] { table.Open(); }, "cannot open table");
    table.TableName = "victim.dbf";
    ExpectFailure([&] { table.Open(); }, "shorter than the 32-byte table header");
    EXPECT_FALSE(table.Active());
    EXPECT_EQ(ReadBytes(dir.path() / "victim.dbf"), "precious");
}

TEST_F(DbfTableTest, ExistsDeleteTableAndRenameTable) {
    DefineTable(table, dir, "x.tmp", {{u"F1", 5}});
    EXPECT_FALSE(table.Exists());
    ExpectFailure([&] { table.DeleteTable(); }, "cannot delete table");
    table.CreateTable();
    EXPECT_TRUE(table.Exists());
    ExpectFailure([&] { table.CreateTable(); }, "cannot create table");

    table.Open();
    ExpectFailure([&] { table.DeleteTable(); }, "while it is open");
    ExpectFailure([&] { table.RenameTable("x.dbf"); }, "while it is open");
    ExpectFailure([&] { table.CreateTable(); }, "while it is open");
    PostRows(table, {{"value"}});
    table.Close();

    table.RenameTable("x.dbf");
    EXPECT_EQ(table.TableName, "x.dbf");
    EXPECT_FALSE(fs::exists(dir.path() / "x.tmp"));
    EXPECT_EQ(ReadDbf(dir.path() / "x.dbf").Value(0, 0), "value");

    // A rename never replaces an existing table.
    TTable other;
    DefineTable(other, dir, "y.tmp", {{u"F1", 5}});
    other.CreateTable();
    ExpectFailure([&] { other.RenameTable("x.dbf"); }, "cannot rename table");
    EXPECT_EQ(other.TableName, "y.tmp");
    EXPECT_TRUE(fs::exists(dir.path() / "y.tmp"));
    EXPECT_EQ(ReadDbf(dir.path() / "x.dbf").rows.size(), 1u);

    table.DeleteTable();
    EXPECT_FALSE(table.Exists());
    EXPECT_FALSE(fs::exists(dir.path() / "x.dbf"));

    fs::create_directory(dir.path() / "d.dbf");
    table.TableName = "d.dbf";
    EXPECT_TRUE(table.Exists());
    ExpectFailure([&] { table.DeleteTable(); }, "cannot delete table");
    EXPECT_TRUE(fs::is_directory(dir.path() / "d.dbf"));
}

TEST_F(DbfTableTest, RefusesTableNamesThatAreNotFileNames) {
    DefineTable(table, dir, "x.tmp", {{u"F1", 5}});
    for (const AnsiString name : {"", ".", "..", "../x.dbf", "sub/x.dbf"}) {
        table.TableName = name;
        ExpectFailure([&] { table.Exists(); }, "is not a file name for a table");
    }
    table.TableName = "x.tmp";
    ExpectFailure([&] { table.RenameTable("../x.dbf"); }, "is not a file name for a table");
    table.DatabaseName.clear();
    ExpectFailure([&] { table.CreateTable(); }, "no directory given");
}

TEST_F(DbfTableTest, TablesLiveInDirectoriesWithCyrillicNames) {
    const fs::path folder = dir.path() / fs::path(u8"Выход");
    fs::create_directory(folder);
    TDatabase database;
    database.DatabaseName = platform::AnsiFileName(folder) + "/";
    database.Open();
    EXPECT_TRUE(database.Connected());

    DefineTable(table, dir, Ansi("отчёт.tmp"), {{u"F1", 5}});
    table.DatabaseName = database.DatabaseName;
    table.CreateTable();
    table.RenameTable(Ansi("отчёт.dbf"));
    EXPECT_TRUE(fs::is_regular_file(folder / fs::path(u8"отчёт.dbf")));
}

TEST(DbfDatabaseTest, OpenRequiresAnExistingDirectory) {
    TempDirectory dir;
    dir.Write("file", "x");
    struct Case {
        std::string name;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {"", "no directory given"},
        {(dir.path() / "missing").string(), "does not exist"},
        {(dir.path() / "missing").string() + "/", "does not exist"},
        {(dir.path() / "file").string(), "is not a directory"},
    };
    for (const auto& c : cases) {
        TDatabase database;
        database.DatabaseName = c.name;
        ExpectFailure([&] { database.Open(); }, c.reason);
        EXPECT_FALSE(database.Connected()) << c.name;
    }
    TDatabase database;
    database.DatabaseName = dir.path().string() + "/";
    database.Open();
    EXPECT_TRUE(database.Connected());
}

}  // namespace
