#include "fuzz/format_harness.h"

#include "engine/dbf/dbf_database.h"
#include "engine/table_work.h"
#include "platform/text_file.h"

namespace {

constexpr char kInFolder[] = "/in/";
constexpr char kFileName[] = "update.txt";
constexpr char kTable[] = "/out/update.dbf";
// Names that no disk holds: the worker's own pass finds no configuration.
constexpr char kNoStore[] = "/nonexistent-kvadrel-fuzz/registry.reg";
constexpr char kNoCodeValues[] = "/nonexistent-kvadrel-fuzz/kvadrel.INI";

}  // namespace

TDeltaSettings FormatHarness::Settings(MemoryFileSystem& files) {
    files.MakeFolders(kInFolder);
    files.MakeFolders(OutFolder());
    TDeltaSettings settings;
    settings.StoreFile = kNoStore;
    settings.CodeValueFile = kNoCodeValues;
    settings.SinglePass = true;
    settings.Files = &files;
    return settings;
}

FormatHarness::FormatHarness() : worker_(*this, *this, Settings(files_)) {
    worker_.WaitFor();
    worker_.FileName = kFileName;
}

FormatHarness::Conversion FormatHarness::Convert(std::string_view bytes, const TDD& type) {
    const std::string source = std::string(kInFolder) + kFileName;
    files_.Put(source, std::string(bytes));
    const auto opening = files_.OpenSource(source);
    platform::LineList lines = platform::ReadTextLines(*opening.File);
    const bool coded = type.Codec == 0;
    if (coded) {
        worker_.DecodeCoded(lines, type.Ident);
    } else {
        worker_.DecodeMoscow(lines, type.Ident);
    }
    const TSession session("fuzz");
    RunTableWork(
        session, type, kFileName,
        [&](TTable& table) {
            if (coded) {
                worker_.ConvertCoded(table, lines, type);
            } else {
                worker_.ConvertMoscow(table, lines, type);
            }
        },
        files_);
    std::vector<AnsiString> decoded;
    for (size_t i = 0; i < lines.size(); ++i) {
        decoded.emplace_back(lines[i]);
    }
    return {std::move(decoded), DecodeDbf(*files_.Bytes(kTable), kTable)};
}
