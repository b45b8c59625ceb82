#include "app/batch_preview.h"

#include <cstdio>
#include <exception>
#include <stdexcept>

#include "app/table_print.h"
#include "app/terminal_text.h"
#include "engine/code_value_file.h"
#include "engine/formats/record_format.h"
#include "engine/table_work.h"
#include "engine/type_rules.h"
#include "platform/files/native_path.h"
#include "platform/files/private_directory.h"
#include "platform/files/text_file.h"
#include "platform/store/registry_store.h"

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUnknownType = 2;

// The table the fill step makes of the decoded lines, built in `folder` and
// read back.
DbfContents Fill(const TRecordFormat& format, const platform::LineList& lines, const TDD& type,
                 const TFormatContext& context, const std::filesystem::path& folder,
                 const AnsiString& name) {
    const TSession session("preview");
    TTableWork work(session, type, platform::AnsiFileName(folder), name);
    const TTableWorkResult written =
        work.Write([&](TTable& table) { format.Fill(table, lines, type, context); });
    return ReadDbf(platform::NativePath(written.TablePath));
}

TDD* FindType(TDL& config, const AnsiString& name) {
    for (TDD* type = config.First; type != nullptr; type = type->Next) {
        if (type->Name == name) {
            return type;
        }
    }
    return nullptr;
}

// The preview of `lines`, read from a file named `name`, as `type` (named
// `typeName`) with the scratch folder `scratch`; returns the exit status.
int Preview(TDD& type, const std::string& typeName, platform::LineList& lines,
            const AnsiString& name, const std::filesystem::path& codeValueFile,
            const std::filesystem::path& scratch) {
    const size_t read = lines.size();
    // The code values as a run loads them.
    CodeList kodObj;
    CodeList tipZnak;
    TMoscowConstants moscow;
    const TCodeValueFile codeValues = LoadCodeValueFile(codeValueFile, kodObj, tipZnak, moscow);
    for (const std::string& ignored : codeValues.Ignored) {
        ConsolePrintf(stderr, "kvadrel-batch: %s: %s\n",
                      platform::Cp1251ToUtf8(platform::AnsiFileName(codeValues.Path)).c_str(),
                      ignored.c_str());
    }
    bool refused = false;
    for (const TTypeProblem& problem : CheckConversion(type, {kodObj, codeValues})) {
        const bool error = problem.Level == TTypeProblem::TLevel::Error;
        ConsolePrintf(stderr, "kvadrel-batch: update type '%s': %s%s\n", typeName.c_str(),
                      problem.Text.c_str(), error ? "; the converter leaves its files" : "");
        refused = refused || error;
    }
    if (refused) {
        return kExitFailed;
    }
    const TRecordFormat& format = RecordFormatOf(type.Codec);
    TSilentProgress progress;
    const TFormatContext context{kodObj, tipZnak, moscow, name, progress};
    format.Decode(lines, type.Ident, context);
    const DbfContents table = Fill(format, lines, type, context, scratch, "preview");
    // The same lines once more without the special-products rule tell the
    // rows it drops from the rows whose filling failed.
    size_t filled = table.rows.size();
    if (type.SpecProd) {
        type.SpecProd = false;
        filled = Fill(format, lines, type, context, scratch, "unfiltered").rows.size();
        type.SpecProd = true;
    }
    PrintTable(table);
    ConsolePrintf(stdout,
                  "lines not taken: %zu outside the group, %zu dropped by the special-products "
                  "rule, %zu not decodable\n",
                  read - lines.size(), filled - table.rows.size(), lines.size() - filled);
    return 0;
}

}  // namespace

int PrintPreview(const std::string& typeName, const std::filesystem::path& file,
                 const std::filesystem::path& codeValueFile) {
    TDL config;
    const TStoreLoad found = config.Load(platform::RegistryStore::UserStorePath());
    if (!found.CloseError.empty()) {
        ConsolePrintf(stderr, "kvadrel-batch: %s\n", found.CloseError.c_str());
    }
    TDD* type = FindType(config, platform::Utf8ToCp1251(typeName));
    if (type == nullptr) {
        ConsolePrintf(stderr, "kvadrel-batch: there is no update type '%s'\n", typeName.c_str());
        return kExitUnknownType;
    }
    try {
        platform::LineList lines = platform::ReadTextLines(file);
        platform::PrivateDirectory scratch;
        int status = kExitFailed;
        try {
            status = Preview(*type, typeName, lines, platform::AnsiFileName(file.filename()),
                             codeValueFile, scratch.path());
        } catch (const std::exception& error) {
            ConsolePrintf(stderr, "kvadrel-batch: %s\n", error.what());
        }
        // A scratch folder left behind is told, but the preview stands.
        try {
            scratch.Remove();
        } catch (const std::exception& error) {
            ConsolePrintf(stderr, "kvadrel-batch: %s\n", error.what());
        }
        return status;
    } catch (const std::exception& error) {
        ConsolePrintf(stderr, "kvadrel-batch: %s\n", error.what());
        return kExitFailed;
    }
}
