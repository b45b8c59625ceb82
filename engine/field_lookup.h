// Looking up a table's field by a configured name, where a name the table
// lacks is not an error yet: the formats decide per row what it means.
#pragma once

#include "engine/dbf_table.h"

// The table's field of that name, or null when the table has none.
inline TField* FieldOrNull(TTable& table, const AnsiString& name) {
    try {
        return &table.FieldByName(name);
    } catch (const std::exception&) {
        return nullptr;
    }
}
