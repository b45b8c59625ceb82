#include "app/table_print.h"

#include <cstdio>

#include "app/terminal_text.h"

void PrintTable(const DbfContents& table) {
    for (const auto& field : table.fields) {
        ConsolePrintf(stdout, "%s(%d) ", platform::Cp1251ToUtf8(field.name).c_str(), field.width);
    }
    ConsolePrintf(stdout, "\n");
    for (size_t row = 0; row < table.rows.size(); ++row) {
        for (size_t field = 0; field < table.fields.size(); ++field) {
            ConsolePrintf(stdout, "%s%s", field == 0 ? "" : " | ",
                          platform::Cp1251ToUtf8(table.Value(row, field)).c_str());
        }
        ConsolePrintf(stdout, "\n");
    }
    ConsolePrintf(stdout, "(%zu records)\n", table.rows.size());
}
