#include "app/batch_preview.h"

#include <cstdio>
#include <exception>
#include <stdexcept>

#include "app/table_print.h"
#include "app/terminal_status.h"
#include "engine/dbf/dbf_table.h"
#include "engine/delta.h"
#include "engine/type_field_defs.h"
#include "platform/private_directory.h"
#include "platform/registry_store.h"
#include "platform/text_file.h"

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUnknownType = 2;

// A worker used only for its decode and fill steps. Its own run reads the
// code-value file as a real run would, and finds no update type to scan in
// the empty store of `scratch`, so it converts and deletes nothing.
class PreviewWorker {
  public:
    PreviewWorker(const std::filesystem::path& scratch, const std::filesystem::path& codeValueFile)
        : status_(false), worker_(status_, status_, Settings(scratch, codeValueFile)) {
        worker_.WaitFor();
    }

    bool CodeValuesRead() const { return codeValuesRead_; }

    // Decodes the lines in place as the type's format does.
    void Decode(platform::LineList& lines, const TDD& type) {
        if (type.Codec == 0) {
            worker_.DecodeCoded(lines, type.Ident);
        } else {
            worker_.DecodeMoscow(lines, type.Ident);
        }
    }

    // The table the fill step makes of the decoded lines, built in `folder`
    // under `name` and read back.
    DbfContents Fill(const platform::LineList& lines, const TDD& type,
                     const std::filesystem::path& folder, const AnsiString& name) {
        TDatabase database;
        database.DatabaseName = platform::Utf8ToCp1251(folder.string());
        database.Open();
        TTable table;
        table.DatabaseName = database.DatabaseName;
        table.TableType = ttDBase;
        table.TableName = name;
        table.FieldDefs = TypeFieldDefs(type);
        table.CreateTable();
        table.Open();
        if (type.Codec == 0) {
            worker_.ConvertCoded(table, lines, type);
        } else {
            worker_.ConvertMoscow(table, lines, type);
        }
        table.Close();
        return ReadDbf(folder / platform::Cp1251ToUtf8(name));
    }

  private:
    TDeltaSettings Settings(const std::filesystem::path& scratch,
                            const std::filesystem::path& codeValueFile) {
        TDeltaSettings settings;
        settings.StoreFile = scratch / "empty.reg";
        settings.CodeValueFile = codeValueFile;
        settings.SinglePass = true;
        settings.OnFailure = [this](const AnsiString&, const AnsiString& source,
                                    const std::string& reason) {
            std::fprintf(stderr, "%s: %s\n", platform::Cp1251ToUtf8(source).c_str(),
                         reason.c_str());
            codeValuesRead_ = false;  // the only failure an empty store leaves possible
        };
        settings.OnRemark = [](const std::string&) {};  // the empty store is ours
        return settings;
    }

    bool codeValuesRead_ = true;  // set before the worker starts, changed only by its run
    TerminalStatus status_;
    TDelta worker_;
};

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
        std::fprintf(stderr, "kvadrel-batch: there is no update type '%s'\n", typeName.c_str());
        return kExitUnknownType;
    }
    if (type->Codec != 0 && type->Codec != 1) {
        std::fprintf(stderr, "kvadrel-batch: update type '%s' has no transport format chosen\n",
                     typeName.c_str());
        return kExitFailed;
    }
    try {
        platform::LineList lines = platform::ReadTextLines(file);
        const size_t read = lines.size();
        const platform::PrivateDirectory scratch;
        PreviewWorker worker(scratch.path(), codeValueFile);
        if (type->SpecProd && !worker.CodeValuesRead()) {
            std::fprintf(stderr,
                         "kvadrel-batch: update type '%s' needs the code-value file, which could "
                         "not be read; the converter leaves its files\n",
                         typeName.c_str());
            return kExitFailed;
        }
        worker.Decode(lines, *type);
        const DbfContents table = worker.Fill(lines, *type, scratch.path(), "preview.dbf");
        // The same lines once more without the special-products rule tell the
        // rows it drops from the rows whose filling failed.
        size_t filled = table.rows.size();
        if (type->SpecProd) {
            type->SpecProd = false;
            filled = worker.Fill(lines, *type, scratch.path(), "unfiltered.dbf").rows.size();
            type->SpecProd = true;
        }
        PrintTable(table);
        std::printf(
            "lines not taken: %zu outside the group, %zu dropped by the special-products "
            "rule, %zu not decodable\n",
            read - lines.size(), filled - table.rows.size(), lines.size() - filled);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kvadrel-batch: %s\n", error.what());
        return kExitFailed;
    }
}
