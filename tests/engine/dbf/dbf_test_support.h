// Helpers of the table tests: a table defined in a test's folder, and the
// check that an operation fails saying why.
#pragma once

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/dbf/dbf_table.h"
#include "platform/text/codepage.h"
#include "tests/temp_directory.h"

// Runs `operation` and expects an exception whose message holds `part`.
template <typename Operation>
void ExpectFailure(Operation&& operation, const std::string& part) {
    try {
        operation();
        ADD_FAILURE() << "no exception; expected one saying: " << part;
    } catch (const std::exception& error) {
        EXPECT_NE(std::string(error.what()).find(part), std::string::npos) << error.what();
    }
}

// Windows-1251 bytes of UTF-8 text written in a test.
inline AnsiString Ansi(std::string_view utf8) {
    return platform::Utf8ToCp1251(utf8);
}

using FieldList = std::vector<std::pair<std::u16string, int>>;

// Points `table` at `name` in `dir` with character fields (name, width).
inline void DefineTable(TTable& table, const TempDirectory& dir, const std::string& name,
                        const FieldList& fields) {
    table.DatabaseName = Ansi(dir.path().string()) + "/";
    table.TableName = name;
    table.TableType = ttDBase;
    table.FieldDefs.Clear();
    for (const auto& [fieldName, width] : fields) {
        table.FieldDefs.Add(fieldName, ftString, width, false);
    }
}

// Writes `rows` into a new closed table `name` in `dir`.
inline std::filesystem::path WriteTable(const TempDirectory& dir, const std::string& name,
                                        const FieldList& fields,
                                        const std::vector<std::vector<AnsiString>>& rows) {
    TTable table;
    DefineTable(table, dir, name, fields);
    table.CreateTable();
    table.Open();
    for (const auto& row : rows) {
        table.Insert();
        for (size_t i = 0; i < row.size(); ++i) {
            table.FieldByName(fields[i].first).SetAsString(row[i]);
        }
        table.Post();
    }
    table.Close();
    return dir.path() / name;
}
