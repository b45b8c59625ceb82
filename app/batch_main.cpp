// kvadrel-batch: the converter without a window, for servers and scripts.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>

#include "app/batch_check.h"
#include "app/batch_journal.h"
#include "app/batch_options.h"
#include "app/batch_preview.h"
#include "app/program_info.h"
#include "app/terminal_status.h"
#include "app/terminal_text.h"
#include "engine/delta.h"
#include "platform/files/file_exists.h"
#include "platform/store/registry_store.h"
#include "platform/system/console.h"
#include "platform/system/executable_path.h"
#include "platform/system/program_lock.h"
#include "platform/system/program_name.h"

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitRunning = 3;

// Waits until a stop request arrives or the worker ends by itself, and sees
// either at once.
void WaitForStop(TDelta& delta) {
    constexpr std::chrono::hours kLong(1);
    std::thread endWatch([&delta, kLong] {
        while (!delta.WaitFinished(kLong)) {
        }
        platform::EndStopRequestWait();
    });
    while (!delta.Finished()) {
        if (platform::WaitForStopRequest(kLong)) {
            delta.Terminate();  // as "Стоп": a file being filled is finished first
            break;
        }
    }
    endWatch.join();
}

// A line of UTF-8 text on a stream, safe for a terminal and in the console's form.
void PrintLine(std::FILE* stream, const std::string& utf8) {
    ConsolePrint(stream, TerminalSafe(utf8) + "\n");
}

// The code-value file: --ini, or the programs' own.
std::filesystem::path CodeValueFile(const BatchOptions& options) {
    return options.Ini.value_or(platform::CodeValueFilePath());
}

// The commands other than a conversion, which take no lock; nothing when the
// run is a conversion.
std::optional<int> RunCommand(const BatchOptions& options) {
    using TCommand = BatchOptions::TCommand;
    switch (options.Command) {
        case TCommand::Check:
            return RunCheck(platform::RegistryStore::UserStorePath(), CodeValueFile(options));
        case TCommand::Help:
            ConsolePrintf(stdout, "%s\n%s", kBatchUsage, kBatchHelp);
            return 0;
        case TCommand::Version:
            PrintVersion("kvadrel-batch");
            return 0;
        case TCommand::Journal:
            return PrintJournal(JournalPath(), options.JournalLines);
        case TCommand::Preview:
            return PrintPreview(options.PreviewType, options.PreviewFile, CodeValueFile(options));
        case TCommand::Convert:
            break;
    }
    return std::nullopt;
}

}  // namespace

int main(int argc, char* argv[]) {
    BatchOptions options;
    try {
        options = ParseBatchOptions(argc, argv);
    } catch (const std::invalid_argument& error) {
        PrintUsageError("kvadrel-batch", error.what(), kBatchUsage);
        return kExitUsage;
    }
    if (options.Ini && !platform::FileExists(*options.Ini)) {
        ConsolePrintf(stderr, "kvadrel-batch: the code-value file %s does not exist\n",
                      TerminalSafe(options.Ini->string()).c_str());
        return kExitUsage;
    }
    if (const auto status = RunCommand(options)) {
        return *status;
    }
    std::unique_ptr<platform::SingleInstanceLock> lock;
    try {
        lock = platform::AcquireProgramLock();
    } catch (const platform::ProgramAlreadyRunning& running) {
        PrintLine(stderr, std::string(running.what()) + ".");
        return kExitRunning;
    }
    // Taken by the main thread only, before the worker starts.
    platform::CatchStopRequests();

    TerminalStatus status(!options.Quiet && platform::PrepareProgressTerminal());
    int failures = 0;  // touched by the worker's callbacks only
    BatchJournal journal;
    TDeltaSettings settings = TDeltaSettings::Defaults();
    settings.CodeValueFile = CodeValueFile(options);
    settings.SinglePass = options.Once;
    settings.OnFailure = [&](const AnsiString& type, const AnsiString& source,
                             const std::string& reason) {
        status.Clear();  // before the journal, which may report that it cannot be written
        journal.Failed(type, source, reason);
        PrintLine(stderr, platform::Cp1251ToUtf8(source) + ": " + reason);
        ++failures;
    };
    settings.OnRemark = [&](const std::string& remark) {
        status.Clear();
        PrintLine(stderr, std::string(platform::kProgramName) + ": " + remark);
    };
    settings.OnConverted = [&](const AnsiString& type, const AnsiString& source,
                               const AnsiString& table, int records) {
        status.Clear();
        journal.Converted(type, source, table, records);
        PrintLine(stdout, platform::Cp1251ToUtf8(source) + " -> " + platform::Cp1251ToUtf8(table) +
                              " (" + std::to_string(records) + " records)");
        std::fflush(stdout);
    };

    TDelta delta(status, status, std::move(settings));
    WaitForStop(delta);
    delta.WaitFor();
    status.Clear();
    return failures > 0 ? kExitFailed : 0;
}
