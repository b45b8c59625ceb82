#include "app/table_print.h"

#include <cstdio>

void PrintTable(const DbfContents& table) {
    for (const auto& field : table.fields) {
        std::printf("%s(%d) ", platform::Cp1251ToUtf8(field.name).c_str(), field.width);
    }
    std::printf("\n");
    for (size_t row = 0; row < table.rows.size(); ++row) {
        for (size_t field = 0; field < table.fields.size(); ++field) {
            std::printf("%s%s", field == 0 ? "" : " | ",
                        platform::Cp1251ToUtf8(table.Value(row, field)).c_str());
        }
        std::printf("\n");
    }
    std::printf("(%zu records)\n", table.rows.size());
}
