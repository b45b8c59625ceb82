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
    format.Fill(work.Table(), lines, type, context);
    return ReadDbf(platform::NativePath(work.PutInPlace().TablePath));
}

TDD* FindType(TDL& config, const AnsiString& name) {
    for (TDD* type = config.First; type != nullptr; type = type->Next) {
        if (type->Name == name) {
            return type;
        }
    }
    return nullptr;
}

}  // namespace

int PrintPreview(const std::string& typeName, const std::filesystem::path& file,
                 const std::filesystem::path& codeValueFile) {
    TDL config;
    config.Load(platform::RegistryStore::UserStorePath());
    TDD* type = FindType(config, platform::Utf8ToCp1251(typeName));
    if (type == nullptr) {
        ConsolePrintf(stderr, "kvadrel-batch: there is no update type '%s'\n", typeName.c_str());
        return kExitUnknownType;
    }
    try {
        platform::LineList lines = platform::ReadTextLines(file);
        const size_t read = lines.size();
        const platform::PrivateDirectory scratch;
        // The code values as a run loads them.
        CodeList kodObj;
        CodeList tipZnak;
        TMoscowConstants moscow;
        const TCodeValueFile codeValues = LoadCodeValueFile(codeValueFile, kodObj, tipZnak, moscow);
        bool refused = false;
        for (const TTypeProblem& problem : CheckConversion(*type, {kodObj, codeValues})) {
            const bool error = problem.Level == TTypeProblem::TLevel::Error;
            ConsolePrintf(stderr, "kvadrel-batch: update type '%s': %s%s\n", typeName.c_str(),
                          problem.Text.c_str(), error ? "; the converter leaves its files" : "");
            refused = refused || error;
        }
        if (refused) {
            return kExitFailed;
        }
        const TRecordFormat& format = RecordFormatOf(type->Codec);
        const AnsiString name = platform::AnsiFileName(file.filename());
        TSilentProgress progress;
        const TFormatContext context{kodObj, tipZnak, moscow, name, progress};
        format.Decode(lines, type->Ident, context);
        const DbfContents table = Fill(format, lines, *type, context, scratch.path(), "preview");
        // The same lines once more without the special-products rule tell the
        // rows it drops from the rows whose filling failed.
        size_t filled = table.rows.size();
        if (type->SpecProd) {
            type->SpecProd = false;
            filled = Fill(format, lines, *type, context, scratch.path(), "unfiltered").rows.size();
            type->SpecProd = true;
        }
        PrintTable(table);
        ConsolePrintf(stdout,
                      "lines not taken: %zu outside the group, %zu dropped by the special-products "
                      "rule, %zu not decodable\n",
                      read - lines.size(), filled - table.rows.size(), lines.size() - filled);
        return 0;
    } catch (const std::exception& error) {
        ConsolePrintf(stderr, "kvadrel-batch: %s\n", error.what());
        return kExitFailed;
    }
}
