// Our tables read by an independent dBASE reader, a Python program of the
// system: run where the tests run on Linux.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/engine/dbf/dbf_test_support.h"
#include "tests/engine/dbf/read_dbf.h"

namespace fs = std::filesystem;

namespace {

TEST(DbfReaderIndependentTest, SeesTheSameFieldsAndRows) {
    const TempDirectory dir;
    const fs::path path =
        WriteTable(dir, "cyrillic.dbf", {{u"Имя", 10}, {u"City", 12}, {u"Код_1", 3}},
                   {
                       {Ansi("Иван"), Ansi("Москва"), "001"},
                       {Ansi("Ёжиков Пётр"), Ansi("Санкт-Петербург"), "1234"},
                       {"", Ansi(R"(№ 5 "x"\)"), " a"},
                   });
    const std::string expected =
        R"({"version": 3, "encoding": "cp1251", "records": 3, )"
        R"("fields": [["ИМЯ", 10], ["CITY", 12], ["КОД_1", 3]], )"
        R"("rows": [["Иван", "Москва", "001"], ["Ёжиков Пёт", "Санкт-Петерб", "123"], )"
        R"(["", "№ 5 \"x\"\\", " a"]]})"
        "\n";
    EXPECT_EQ(ReadWithDbfread(path), expected);
}

}  // namespace
