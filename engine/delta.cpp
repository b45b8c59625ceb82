#include "engine/delta.h"

#include <chrono>
#include <cstdio>
#include <thread>

#include "engine/dbf_table.h"
#include "engine/strfunc.h"
#include "engine/table_work.h"
#include "platform/exclusive_probe.h"
#include "platform/executable_path.h"
#include "platform/file_listing.h"
#include "platform/local_time.h"
#include "platform/native_path.h"
#include "platform/registry_store.h"
#include "platform/text_file.h"

namespace {

constexpr int kWaitTicks = 61;
constexpr char kWaitPrefix[] = "\xCE\xE6\xE8\xE4\xE0\xED\xE8\xE5 ";  // "Ожидание "
constexpr char kSeconds[] = " \xF1\xE5\xEA\xF3\xED\xE4";             // " секунд"
constexpr char kDecoding[] =
    "\xC4\xE5\xEA\xEE\xE4\xE8\xF0\xEE\xE2\xE0\xED\xE8\xE5 ";  // "Декодирование "
constexpr char kConverting[] =
    "\xCF\xF0\xE5\xEE\xE1\xF0\xE0\xE7\xEE\xE2\xE0\xED\xE8\xE5 ";  // "Преобразование "

// Local date and time as a day count since 30 December 1899 with the time of
// day as the fraction, in 15 significant digits: unique within the process.
AnsiString SessionName() {
    const platform::LocalTime now = platform::CurrentLocalTime();
    const double days = double(now.UnixSeconds + now.UtcOffsetSeconds) / 86400.0 + 25569.0;
    char text[64];
    std::snprintf(text, sizeof text, "%.15g", days);
    return text;
}

}  // namespace

TDeltaSettings TDeltaSettings::Defaults() {
    TDeltaSettings settings;
    settings.StoreFile = platform::RegistryStore::UserStorePath();
    settings.CodeValueFile = platform::CodeValueFilePath();
    return settings;
}

TDelta::TDelta(TStatusPane& pane, TProgressBar& bar, TDeltaSettings settings)
    : Pane(pane), Bar(bar), settings_(std::move(settings)) {
    Start();
}

TDelta::~TDelta() {
    WaitFor();
}

void TDelta::UpdateStatus() {
    Pane.SetCaption(StatusText);
    Bar.SetPercent(int16_t(Percent));
}

void TDelta::Report(const AnsiString& text, int32_t percent) {
    StatusText = text;
    Percent = percent;
    shownStep_.reset();
    if (StatusText == shownText_ && Percent == shownPercent_) {
        return;
    }
    shownText_ = StatusText;
    shownPercent_ = Percent;
    Synchronize([this] { UpdateStatus(); });
}

void TDelta::ReportLine(TStep step, size_t i, size_t n) {
    const auto percent = int32_t(i * 100 / n);
    if (step == shownStep_ && percent == shownPercent_) {
        return;  // the same text and percentage as shown: nothing to hand over
    }
    Report((step == TStep::Decode ? kDecoding : kConverting) + FileName, percent);
    shownStep_ = step;
}

void TDelta::DecodeLines(TStringList& lines, const std::function<bool(AnsiString& line)>& decode) {
    size_t kept = 0;
    const size_t count = lines.size();
    for (size_t i = 0; i < count; ++i) {
        ReportLine(TStep::Decode, i, count);
        if (Terminated()) {
            break;
        }
        AnsiString& line = lines[i];
        if (!decode(line)) {
            continue;
        }
        // Trimmed in place and moved to the front: the list is rewritten without copies.
        const std::string_view trimmed = Trim(line);
        const size_t start = trimmed.empty() ? 0 : size_t(trimmed.data() - line.data());
        line.erase(start + trimmed.size());
        line.erase(0, start);
        if (kept != i) {
            lines[kept] = std::move(line);
        }
        ++kept;
    }
    lines.resize(kept);
}

void TDelta::FillRows(TTable& table, const TStringList& lines,
                      const std::function<bool(const AnsiString& line)>& fillRow) {
    const size_t count = lines.size();
    for (size_t i = 0; i < count; ++i) {
        ReportLine(TStep::Convert, i, count);  // a stop waits for the whole file
        table.Insert();
        try {
            if (fillRow(lines[i])) {
                table.Post();
            } else {
                table.Cancel();
            }
        } catch (const std::exception&) {
            table.Cancel();  // the row is dropped, the file goes on
        }
    }
}

void TDelta::Fail(const AnsiString& source, const std::string& reason) const {
    if (settings_.OnFailure) {
        settings_.OnFailure(source, reason);
    } else {
        std::fprintf(stderr, "%s: %s\n", platform::Cp1251ToUtf8(source).c_str(), reason.c_str());
    }
}

void TDelta::LoadConfiguration() {
    try {
        DL.Load(settings_.StoreFile);
    } catch (const std::exception& error) {
        Fail(platform::AnsiFileName(settings_.StoreFile), error.what());
    }
}

void TDelta::ReadCodeValues() {
    try {
        LoadCodeValues(settings_.CodeValueFile, KodObjList, TipZnakList);
        Moscow = TMoscowConstants::Load(settings_.CodeValueFile);
        codeValuesRead_ = true;
    } catch (const std::exception& error) {
        Fail(platform::AnsiFileName(settings_.CodeValueFile), error.what());
    }
}

void TDelta::Execute() {
    try {
        LoadConfiguration();
        StatusText.clear();
        ReadCodeValues();
        const TSession session(SessionName());
        while (!Terminated()) {
            Scan(session);
            if (settings_.SinglePass) {
                break;
            }
            Wait();
            if (!codeValuesRead_) {
                ReadCodeValues();  // the file may be readable again by now
            }
        }
    } catch (const std::exception& error) {
        // Out of memory and the like: the run ends, but still with its final reset.
        std::fprintf(stderr, "kvadrel: the converter stops: %s\n", error.what());
    }
    StatusText.clear();
    Percent = 0;
    shownText_.clear();
    shownPercent_ = 0;
    Synchronize([this] { UpdateStatus(); });
}

void TDelta::Scan(const TSession& session) {
    for (const TDD* type = DL.First; type != nullptr; type = type->Next) {
        try {
            ScanType(session, *type);
        } catch (const std::exception& error) {
            Fail(type->From + type->Mask, error.what());  // the type is tried again next pass
        }
    }
}

std::optional<std::string> TDelta::WhyFilesStay(const TDD& type) const {
    const std::string name = "update type '" + platform::Cp1251ToUtf8(type.Name) + "'";
    if (type.Codec != 0 && type.Codec != 1) {
        return name + " has no transport format chosen; its files stay";
    }
    if (type.SpecProd && !codeValuesRead_) {
        // Empty code lists would drop every row of a file that is then deleted.
        return name + " needs the code-value file, which could not be read; its files stay";
    }
    return std::nullopt;
}

void TDelta::ScanType(const TSession& session, const TDD& type) {
    if (const auto reason = WhyFilesStay(type)) {
        if (!platform::FindFiles(type.From + type.Mask).empty()) {
            Fail(type.From + type.Mask, *reason);  // once per pass
        }
        return;
    }
    for (const AnsiString& name : platform::FindFiles(type.From + type.Mask)) {
        if (Terminated()) {
            return;
        }
        FileName = name;
        shownStep_.reset();
        if (platform::ProbeExclusiveOpen(platform::NativePath(type.From + name)) !=
            platform::ProbeResult::Free) {
            continue;  // still being written or held open: taken in a later pass
        }
        ConvertFile(session, type);
        if (Terminated()) {
            return;
        }
    }
}

void TDelta::ConvertFile(const TSession& session, const TDD& type) {
    const AnsiString source = type.From + FileName;
    TStringList lines;
    try {
        lines = platform::ReadTextLines(platform::NativePath(source));
        if (type.Codec == 0) {
            DecodeCoded(lines, type.Ident);
        } else {
            DecodeMoscow(lines, type.Ident);
        }
    } catch (const std::exception& error) {
        Fail(source, error.what());
        return;
    }
    if (Terminated()) {
        return;  // stopped while decoding: the source stays, no table
    }
    try {
        const auto result = RunTableWork(session, type, FileName, [&](TTable& table) {
            if (type.Codec == 0) {
                ConvertCoded(table, lines, type);
            } else {
                ConvertMoscow(table, lines, type);
            }
        });
        if (settings_.OnConverted) {
            settings_.OnConverted(source, result.TablePath, result.Records);
        }
    } catch (const std::exception& error) {
        Fail(source, error.what());
    }
}

void TDelta::Wait() {
    for (int i = 0; i < kWaitTicks; ++i) {
        if (Terminated()) {
            return;
        }
        Report(kWaitPrefix + std::to_string(kWaitTicks - 1 - i) + kSeconds, i);
        std::this_thread::sleep_for(settings_.Tick);
    }
}
