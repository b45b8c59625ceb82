#include "fuzz/format_harness.h"

#include "engine/dbf/dbf_database.h"
#include "engine/formats/record_format.h"
#include "engine/table_work.h"
#include "platform/files/text_file.h"

namespace {

constexpr char kInFolder[] = "/in/";
constexpr char kFileName[] = "update.txt";
constexpr char kTable[] = "/out/update.dbf";

}  // namespace

FormatHarness::FormatHarness() {
    files_.MakeFolders(kInFolder);
    files_.MakeFolders(OutFolder());
}

FormatHarness::Conversion FormatHarness::Convert(std::string_view bytes, const TDD& type) {
    const std::string source = std::string(kInFolder) + kFileName;
    files_.Put(source, std::string(bytes));
    const auto opening = files_.OpenSource(source);
    platform::LineList lines = platform::ReadTextLines(*opening.File);
    const TRecordFormat& format = RecordFormatOf(type.Codec);
    const AnsiString fileName = kFileName;
    TSilentProgress progress;
    const TFormatContext context{KodObjList, TipZnakList, Moscow, fileName, progress};
    format.Decode(lines, type.Ident, context);
    const TSession session("fuzz");
    TTableWork work(session, type, type.To, kFileName, files_);
    work.Write([&](TTable& table) { format.Fill(table, lines, type, context); });
    std::vector<AnsiString> decoded;
    for (size_t i = 0; i < lines.size(); ++i) {
        decoded.emplace_back(lines[i]);
    }
    return {std::move(decoded), DecodeDbf(*files_.Bytes(kTable), kTable)};
}
