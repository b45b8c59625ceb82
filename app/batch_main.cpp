// kvadrel-batch: the converter without a window, for servers and scripts.
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <string>

#include "app/batch_options.h"
#include "app/terminal_status.h"
#include "engine/delta.h"
#include "platform/console.h"
#include "platform/executable_path.h"
#include "platform/single_instance.h"

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitRunning = 3;

// Waits until a stop request arrives or the worker ends by itself.
void WaitForStop(TDelta& delta) {
    while (!delta.Finished()) {
        if (platform::WaitForStopRequest(std::chrono::milliseconds(200))) {
            delta.Terminate();  // as "Стоп": a file being filled is finished first
            return;
        }
    }
}

// A line of UTF-8 text on a stream, in the console's form.
void PrintLine(std::FILE* stream, const std::string& utf8) {
    std::fputs(platform::ConsoleText(utf8 + "\n").c_str(), stream);
}

}  // namespace

int main(int argc, char* argv[]) {
    BatchOptions options;
    try {
        options = ParseBatchOptions(argc, argv);
    } catch (const std::invalid_argument& error) {
        PrintLine(stderr, std::string("kvadrel-batch: ") + error.what() + "\n" + kBatchUsage);
        return kExitUsage;
    }
    const auto lock = platform::SingleInstanceLock::TryAcquire("kvadrel");
    if (!lock) {
        PrintLine(stderr, "Программа уже запущена.");
        return kExitRunning;
    }
    // Taken by the main thread only, before the worker starts.
    platform::CatchStopRequests();

    TerminalStatus status(!options.Quiet && platform::PrepareProgressTerminal());
    int failures = 0;  // touched by the worker's callbacks only
    TDeltaSettings settings = TDeltaSettings::Defaults();
    settings.CodeValueFile =
        options.Ini.value_or(platform::ExecutablePath().parent_path() / "kvadrel.INI");
    settings.SinglePass = options.Once;
    settings.OnFailure = [&](const AnsiString& source, const std::string& reason) {
        status.Clear();
        PrintLine(stderr, platform::Cp1251ToUtf8(source) + ": " + reason);
        ++failures;
    };
    settings.OnConverted = [&](const AnsiString& source, const AnsiString& table, int records) {
        status.Clear();
        PrintLine(stdout, platform::Cp1251ToUtf8(source) + " -> " + platform::Cp1251ToUtf8(table) +
                              " (" + std::to_string(records) + " records)");
        std::fflush(stdout);
    };

    TDelta delta(status, status, std::move(settings));
    if (!options.Once) {
        WaitForStop(delta);
    }
    delta.WaitFor();
    status.Clear();
    return failures > 0 ? kExitFailed : 0;
}
