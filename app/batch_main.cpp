// kvadrel-batch: the converter without a window, for servers and scripts.
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <stdexcept>

#include "app/batch_check.h"
#include "app/batch_options.h"
#include "app/terminal_status.h"
#include "app/terminal_text.h"
#include "engine/delta.h"
#include "platform/executable_path.h"
#include "platform/file_exists.h"
#include "platform/registry_store.h"
#include "platform/single_instance.h"

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

}  // namespace

int main(int argc, char* argv[]) {
    BatchOptions options;
    try {
        options = ParseBatchOptions(argc, argv);
    } catch (const std::invalid_argument& error) {
        std::fprintf(stderr, "kvadrel-batch: %s\n%s\n", error.what(), kBatchUsage);
        return kExitUsage;
    }
    if (options.Ini && !platform::FileExists(*options.Ini)) {
        std::fprintf(stderr, "kvadrel-batch: the code-value file %s does not exist\n",
                     options.Ini->c_str());
        return kExitUsage;
    }
    const std::filesystem::path codeValueFile =
        options.Ini.value_or(platform::ExecutablePath().parent_path() / "kvadrel.INI");
    if (options.Check) {
        return RunCheck(platform::RegistryStore::UserStorePath(), codeValueFile);
    }
    const auto lock = platform::SingleInstanceLock::TryAcquire("kvadrel");
    if (!lock) {
        std::fputs("Программа уже запущена.\n", stderr);
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
    TDeltaSettings settings = TDeltaSettings::Defaults();
    settings.CodeValueFile = codeValueFile;
    settings.SinglePass = options.Once;
    settings.OnFailure = [&](const AnsiString& source, const std::string& reason) {
        status.Clear();
        std::fprintf(stderr, "%s\n",
                     TerminalSafe(platform::Cp1251ToUtf8(source) + ": " + reason).c_str());
        ++failures;
    };
    settings.OnConverted = [&](const AnsiString& source, const AnsiString& table, int records) {
        status.Clear();
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
