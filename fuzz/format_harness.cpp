#include "fuzz/format_harness.h"

#include "engine/dbf/dbf_database.h"
#include "engine/format_steps.h"
#include "engine/table_work.h"
#include "platform/files/text_file.h"

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
    const TFormatSteps format(worker_, type);
    format.Decode(lines);
    const TSession session("fuzz");
    TTableWork work(session, type, type.To, kFileName, files_);
    work.Write([&](TTable& table) { format.Fill(table, lines); });
    std::vector<AnsiString> decoded;
    for (size_t i = 0; i < lines.size(); ++i) {
        decoded.emplace_back(lines[i]);
    }
    return {std::move(decoded), DecodeDbf(*files_.Bytes(kTable), kTable)};
}
