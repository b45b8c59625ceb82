#include "app/batch_check.h"

#include <cstdio>
#include <string>

#include "app/terminal_text.h"
#include "config/descriptors.h"
#include "engine/type_rules.h"
#include "platform/files/file_exists.h"

namespace {

void Say(const std::string& subject, const char* level, const std::string& text) {
    ConsolePrintf(stdout, "%s: %s%s%s\n", subject.c_str(), level, *level != '\0' ? ": " : "",
                  text.c_str());
}

std::string Count(size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// The store's own problems; true when there is an error among them.
bool CheckStore(TDL& config, const std::filesystem::path& storeFile) {
    const std::string store = storeFile.string();
    if (!platform::FileExists(storeFile)) {
        Say(store, "warning", "there is no such file: no update types are configured");
        return false;  // nothing to load, and a load would create the file
    }
    const TStoreLoad found = config.Load(storeFile);
    if (!found.ReadError.empty()) {
        Say(store, "error", "cannot be read (" + found.ReadError + ")");
        return true;
    }
    for (const platform::RegSkippedLine& line : found.SkippedLines) {
        Say(store, "error",
            "line " + std::to_string(line.number) + " could not be read and is left out: " +
                (line.text ? platform::Utf16ToUtf8(*line.text) : "(not UTF-8 text)"));
    }
    if (!found.CloseError.empty()) {
        Say(store, "warning", found.CloseError);  // the window could not save there either
    }
    if (config.Count == 0) {
        Say(store, "warning", "no update types are configured");
    } else {
        Say(store, "", Count(size_t(config.Count), "update type", "update types"));
    }
    return !found.SkippedLines.empty();
}

bool SayCodeValueFile(const TCodeValueFile& file, const CodeList& kodObj, const CodeList& tipZnak) {
    const std::string subject = file.Path.string();
    switch (file.State) {
        case TCodeValueFile::TState::Read:
            Say(subject, "",
                Count(kodObj.size(), "object code (KodObj)", "object codes (KodObj)") + ", " +
                    Count(tipZnak.size(), "sign type (TipZnak)", "sign types (TipZnak)"));
            return false;
        case TCodeValueFile::TState::Missing:
            Say(subject, "warning", "there is no such file: the code lists are empty");
            return false;
        case TCodeValueFile::TState::Unreadable:
            Say(subject, "error", "cannot be read (" + file.Error + ")");
            return true;
    }
    return false;
}

}  // namespace

int RunCheck(const std::filesystem::path& storeFile, const std::filesystem::path& codeValueFile) {
    TDL config;
    bool error = CheckStore(config, storeFile);
    CodeList kodObj;
    CodeList tipZnak;
    TMoscowConstants moscow;
    const TCodeValueFile file = LoadCodeValueFile(codeValueFile, kodObj, tipZnak, moscow);
    error |= SayCodeValueFile(file, kodObj, tipZnak);
    for (const std::string& ignored : file.Ignored) {
        Say(file.Path.string(), "warning", ignored);
    }
    for (const TTypeProblems& type : CheckConfiguration(config, {kodObj, file})) {
        const std::string name = platform::Cp1251ToUtf8(type.Type->Name);
        for (const TTypeProblem& problem : type.Problems) {
            const bool isError = problem.Level == TTypeProblem::TLevel::Error;
            Say(name, isError ? "error" : "warning", problem.Text);
            error |= isError;
        }
    }
    return error ? 1 : 0;
}
