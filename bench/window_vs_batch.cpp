// Times the worker on one numbered-code file twice over: driven by the window,
// whose status hand-overs go through the Qt event loop, and as kvadrel-batch
// drives it, with hand-overs as direct calls. Prints the best of three runs of
// each and how much slower the window is.
//
// usage: kvadrel-bench-window <numbered-code file> <scratch folder>
#include <QApplication>
#include <QEventLoop>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "config/descriptors.h"
#include "engine/delta.h"
#include "ui/qt/main_window.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

class NoStatus : public TStatusPane, public TProgressBar {
  public:
    void SetCaption(const AnsiString&) override {}
    void SetPercent(int16_t) override {}
};

// One pass over a workspace of one type with 12 fields of width 20.
TDeltaSettings Workspace(const fs::path& scratch) {
    fs::create_directories(scratch / "in");
    fs::create_directories(scratch / "out");
    TDL config;
    TDD* type = config.Add("Bench", 0, "\xC0\xCC\xD2");  // "АМТ"
    type->From = platform::Utf8ToCp1251((scratch / "in").string() + "/");
    type->To = platform::Utf8ToCp1251((scratch / "out").string() + "/");
    type->Mask = "*.txt";
    for (int code = 1; code <= 12; ++code) {
        std::string name = "F";  // appended, not prepended: GCC 12 at -O3 warns falsely on that
        name += std::to_string(code);
        type->Add(name, 20, code, code);
    }
    TDeltaSettings settings;
    settings.StoreFile = scratch / "registry.reg";
    settings.CodeValueFile = scratch / "kvadrel.INI";
    settings.SinglePass = true;
    config.Save(settings.StoreFile);
    return settings;
}

double Seconds(Clock::duration elapsed) {
    return std::chrono::duration<double>(elapsed).count();
}

double RunDirect(const TDeltaSettings& settings) {
    NoStatus status;
    const auto start = Clock::now();
    TDelta worker(status, status, settings);
    worker.WaitFor();
    return Seconds(Clock::now() - start);
}

double RunInWindow(const TDeltaSettings& settings) {
    TfmMain window(settings);
    window.show();
    QApplication::processEvents();
    const auto start = Clock::now();
    window.Start->trigger();
    while (!window.Worker()->Finished()) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    const double seconds = Seconds(Clock::now() - start);
    window.Stop->trigger();
    return seconds;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fputs("usage: kvadrel-bench-window <numbered-code file> <scratch folder>\n", stderr);
        return 2;
    }
    QApplication application(argc, argv);
    const fs::path input = argv[1];
    const fs::path scratch = argv[2];
    const TDeltaSettings settings = Workspace(scratch);
    double direct = 1e9;
    double window = 1e9;
    for (int run = 0; run < 3; ++run) {
        fs::copy_file(input, scratch / "in" / "bench.txt");
        direct = std::min(direct, RunDirect(settings));
        fs::copy_file(input, scratch / "in" / "bench.txt");
        window = std::min(window, RunInWindow(settings));
        if (fs::exists(scratch / "in" / "bench.txt")) {
            std::fputs("the file was not converted\n", stderr);
            return 1;
        }
    }
    std::printf(
        "  worker as kvadrel-batch runs it: %.2f s, in the window: %.2f s (%+.1f %%; target at "
        "most +10 %%)\n",
        direct, window, (window / direct - 1) * 100);
    return 0;
}
