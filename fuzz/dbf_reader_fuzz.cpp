// The dBASE reader: any bytes are read or refused with a clear error, and a
// table written from what was read reads back the same.
#include <cstddef>
#include <cstdint>
#include <stdexcept>

#include "engine/dbf/dbf_header.h"
#include "engine/dbf/dbf_reader.h"
#include "fuzz/fuzz_check.h"

namespace {

std::string Rewrite(const DbfContents& contents) {
    dbf::Header header;
    header.lastUpdate = contents.lastUpdate;
    header.recordCount = uint32_t(contents.rows.size());
    header.languageDriver = contents.languageDriver;
    for (const auto& field : contents.fields) {
        header.fields.push_back({field.name, field.width});
    }
    std::string bytes = dbf::EncodeHeader(header);
    for (const auto& row : contents.rows) {
        bytes += dbf::kLiveRecord;
        for (const AnsiString& value : row) {
            bytes += value;
        }
    }
    return bytes + dbf::kEndOfFile;
}

bool SameTable(const DbfContents& a, const DbfContents& b) {
    if (a.fields.size() != b.fields.size()) {
        return false;
    }
    for (size_t i = 0; i < a.fields.size(); ++i) {
        if (a.fields[i].name != b.fields[i].name || a.fields[i].width != b.fields[i].width) {
            return false;
        }
    }
    return a.rows == b.rows && a.languageDriver == b.languageDriver &&
           a.lastUpdate.year == b.lastUpdate.year && a.lastUpdate.month == b.lastUpdate.month &&
           a.lastUpdate.day == b.lastUpdate.day;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DbfContents contents;
    try {
        contents = DecodeDbf(FuzzBytes(data, size), "fuzz.dbf");
    } catch (const std::runtime_error&) {
        return 0;  // refused, saying why
    }
    for (const auto& row : contents.rows) {
        FuzzCheck(row.size() == contents.fields.size(), "a row has one value per field");
        for (size_t i = 0; i < row.size(); ++i) {
            FuzzCheck(row[i].size() == size_t(contents.fields[i].width),
                      "a value is as wide as its field");
        }
    }
    FuzzCheck(SameTable(contents, DecodeDbf(Rewrite(contents), "rewritten.dbf")),
              "a table written from what was read reads back the same");
    return 0;
}
