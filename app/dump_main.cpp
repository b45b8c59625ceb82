// kvadrel-dump: prints dBASE tables (fields, then one line per record) as UTF-8.
#include <cstdio>
#include <exception>

#include "engine/dbf_reader.h"

namespace {

void Dump(const char* path) {
    const DbfContents table = ReadDbf(path);
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

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fputs("usage: kvadrel-dump TABLE.dbf...\n", stderr);
        return 2;
    }
    int status = 0;
    for (int i = 1; i < argc; ++i) {
        try {
            Dump(argv[i]);
        } catch (const std::exception& error) {
            std::fprintf(stderr, "kvadrel-dump: %s\n", error.what());
            status = 1;
        }
    }
    return status;
}
