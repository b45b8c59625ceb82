#include "engine/table_work.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "engine/dbf_table.h"
#include "engine/type_field_defs.h"
#include "platform/native_path.h"

AnsiString BaseName(const AnsiString& fileName) {
    const auto dot = fileName.rfind('.');
    return dot == AnsiString::npos ? fileName : fileName.substr(0, dot);
}

TTableWorkResult RunTableWork(const TSession& session, const TDD& type, const AnsiString& fileName,
                              const std::function<void(TTable&)>& fill) {
    const AnsiString base = BaseName(fileName);
    TDatabase database;
    database.DatabaseName = type.To;
    database.SessionName = session.SessionName;
    database.LoginPrompt = false;
    database.KeepConnection = false;
    TTable table;
    table.SessionName = session.SessionName;

    database.Open();
    table.DatabaseName = type.To;
    table.TableType = ttDBase;
    table.TableName = base + ".tmp";
    if (table.Exists()) {
        table.DeleteTable();  // a leftover of an earlier attempt
    }
    table.FieldDefs = TypeFieldDefs(type);
    table.CreateTable();
    table.Open();
    fill(table);
    table.Close();

    table.TableName = base + ".dbf";
    if (table.Exists()) {
        table.DeleteTable();
    }
    table.TableName = base + ".tmp";
    table.RenameTable(base + ".dbf");

    const AnsiString source = type.From + fileName;
    if (std::remove(platform::NativePath(source).c_str()) != 0) {
        // The table is complete; the source will be converted again next pass.
        std::fprintf(stderr, "%s: cannot delete the converted source: %s\n",
                     platform::Cp1251ToUtf8(source).c_str(), std::strerror(errno));
    }
    return {type.To + base + ".dbf", table.RecordCount()};
}
