#include "engine/table_work.h"

#include <iostream>

#include "engine/dbf/dbf_table.h"
#include "engine/type_field_defs.h"

namespace {

// Removes the table's ".tmp" after a failure; the caller reports the failure.
void RemoveTemporary(TTable& table) {
    try {
        table.Close();
    } catch (const std::exception&) {
        // the write failure that brought us here is the one reported
    }
    try {
        if (table.Exists()) {
            table.DeleteTable();
        }
    } catch (const std::exception& error) {
        std::cerr << "cannot remove the incomplete table: " << error.what() << '\n';
    }
}

}  // namespace

AnsiString BaseName(const AnsiString& fileName) {
    const auto dot = fileName.rfind('.');
    return dot == AnsiString::npos ? fileName : fileName.substr(0, dot);
}

TTableWorkResult RunTableWork(const TSession& session, const TDD& type, const AnsiString& fileName,
                              const std::function<void(TTable&)>& fill,
                              platform::FileSystem& files) {
    const AnsiString base = BaseName(fileName);
    TDatabase database;
    database.DatabaseName = type.To;
    database.SessionName = session.SessionName;
    database.LoginPrompt = false;
    database.KeepConnection = false;
    database.Files = &files;
    TTable table;
    table.SessionName = session.SessionName;
    table.Files = &files;

    database.Open();
    table.DatabaseName = type.To;
    table.TableType = ttDBase;
    table.TableName = base + ".tmp";
    if (table.Exists()) {
        table.DeleteTable();  // a leftover of an earlier attempt
    }
    table.FieldDefs = TypeFieldDefs(type);
    table.CreateTable();
    try {
        table.Open();
        fill(table);
        table.Close();

        table.TableName = base + ".dbf";
        if (table.Exists()) {
            table.DeleteTable();
        }
        table.TableName = base + ".tmp";
        table.RenameTable(base + ".dbf");
    } catch (...) {
        table.TableName = base + ".tmp";
        RemoveTemporary(table);
        throw;
    }
    const bool separated = type.To.ends_with('/');
    return {type.To + (separated ? "" : "/") + base + ".dbf", table.RecordCount()};
}
