// kvadrel-batch: the converter without a window, for servers and scripts.
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <optional>
#include <stdexcept>

#include "app/batch_check.h"
#include "app/batch_journal.h"
#include "app/batch_options.h"
#include "app/batch_preview.h"
#include "app/program_info.h"
#include "app/terminal_status.h"
#include "app/terminal_text.h"
#include "engine/delta.h"
#include "platform/executable_path.h"
#include "platform/file_exists.h"
#include "platform/program_lock.h"
#include "platform/registry_store.h"

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitRunning = 3;

// Waits until a stop signal arrives or the worker ends by itself.
void WaitForStop(TDelta& delta, const sigset_t& stopSignals) {
    const timespec poll{0, 200'000'000};
    while (!delta.Finished()) {
        if (sigtimedwait(&stopSignals, nullptr, &poll) > 0) {
            delta.Terminate();  // as "Стоп": a file being filled is finished first
            return;
        }
    }
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
            std::printf("%s\n%s", kBatchUsage, kBatchHelp);
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
        std::fprintf(stderr, "kvadrel-batch: the code-value file %s does not exist\n",
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
        std::fprintf(stderr, "%s.\n", running.what());
        return kExitRunning;
    }
    // Stop signals are taken by the main thread only (the worker inherits the mask).
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    TerminalStatus status(!options.Quiet && ::isatty(STDERR_FILENO));
    int failures = 0;  // touched by the worker's callbacks only
    BatchJournal journal;
    TDeltaSettings settings = TDeltaSettings::Defaults();
    settings.CodeValueFile = CodeValueFile(options);
    settings.SinglePass = options.Once;
    settings.OnFailure = [&](const AnsiString& type, const AnsiString& source,
                             const std::string& reason) {
        status.Clear();  // before the journal, which may report that it cannot be written
        journal.Failed(type, source, reason);
        std::fprintf(stderr, "%s\n",
                     TerminalSafe(platform::Cp1251ToUtf8(source) + ": " + reason).c_str());
        ++failures;
    };
    settings.OnConverted = [&](const AnsiString& type, const AnsiString& source,
                               const AnsiString& table, int records) {
        status.Clear();
        journal.Converted(type, source, table, records);
        std::printf("%s\n", TerminalSafe(platform::Cp1251ToUtf8(source) + " -> " +
                                         platform::Cp1251ToUtf8(table) + " (" +
                                         std::to_string(records) + " records)")
                                .c_str());
        std::fflush(stdout);
    };

    TDelta delta(status, status, std::move(settings));
    WaitForStop(delta, stopSignals);
    delta.WaitFor();
    status.Clear();
    return failures > 0 ? kExitFailed : 0;
}
