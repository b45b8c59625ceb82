#include "fuzz/format_harness.h"

#include <string>

#include "engine/formats/record_format.h"
#include "engine/type_field_defs.h"
#include "platform/files/text_file.h"

namespace {

constexpr char kFolder[] = "/out/";
constexpr char kTableName[] = "update.dbf";
constexpr char kFileName[] = "update.txt";

}  // namespace

FormatHarness::FormatHarness() {
    files_.MakeFolders(kFolder);
    table_.Files = &files_;
    table_.DatabaseName = kFolder;
    table_.TableName = kTableName;
}

FormatHarness::Conversion FormatHarness::Convert(std::string_view bytes, const TDD& type) {
    platform::LineList lines = platform::SplitTextLines(std::string(bytes));
    const TRecordFormat& format = RecordFormatOf(type.Codec);
    const AnsiString fileName = kFileName;
    TSilentProgress progress;
    const TFormatContext context{KodObjList, TipZnakList, Moscow, fileName, progress};
    format.Decode(lines, type.Ident, context);

    if (table_.Exists()) {
        table_.DeleteTable();
    }
    table_.FieldDefs = TypeFieldDefs(type);
    table_.CreateTable();
    table_.Open();
    format.Fill(table_, lines, type, context);
    table_.Close();

    std::vector<AnsiString> decoded;
    for (size_t i = 0; i < lines.size(); ++i) {
        decoded.emplace_back(lines[i]);
    }
    const std::string path = std::string(kFolder) + kTableName;
    return {std::move(decoded), DecodeDbf(*files_.Bytes(path), path)};
}
