#include "engine/delta.h"

#include <chrono>
#include <cstdio>
#include <thread>

#include "engine/dbf_table.h"
#include "engine/strfunc.h"
#include "engine/table_work.h"
#include "platform/executable_path.h"
#include "platform/file_listing.h"
#include "platform/local_time.h"
#include "platform/native_path.h"
#include "platform/registry_store.h"

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
    : Pane(pane),
      Bar(bar),
      settings_(std::move(settings)),
      boundary_(*settings_.Files, settings_.SinglePass) {
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
    boundary_.NextPass();
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

bool TDelta::IsTableFolder(const std::filesystem::path& folder) const {
    platform::FileSystem& files = *settings_.Files;
    // "folder/." is the folder itself, a link to it followed.
    const auto here = files.Status(folder / ".");
    if (!here) {
        return false;
    }
    for (const TDD* type = DL.First; type != nullptr; type = type->Next) {
        const auto target = files.Status(platform::NativePath(type->To) / ".");
        if (target && target->Identity.Device == here->Identity.Device &&
            target->Identity.File == here->Identity.File) {
            return true;
        }
    }
    return false;
}

namespace {

// A table or an unfinished table as the table work names them.
bool IsTableName(const AnsiString& name) {
    return name.ends_with(".dbf") || name.ends_with(".tmp");
}

}  // namespace

void TDelta::ScanType(const TSession& session, const TDD& type) {
    const AnsiString pattern = type.From + type.Mask;
    const auto listed = platform::FindFiles(pattern, *settings_.Files);
    if (const auto reason = WhyFilesStay(type)) {
        if (!listed.empty()) {
            Fail(pattern, *reason);  // once per pass
        }
        return;
    }
    const auto folder = platform::PatternFolder(pattern);
    const bool tableFolder = IsTableFolder(folder);
    for (const platform::ListedFile& file : listed) {
        if (Terminated()) {
            return;
        }
        if (tableFolder && IsTableName(file.Name)) {
            continue;  // our own output, not a source
        }
        FileName = file.Name;
        shownStep_.reset();
        auto taken = boundary_.Take(folder, file);
        if (taken.Failure) {
            Fail(type.From + file.Name, *taken.Failure);
        }
        if (!taken.Claim) {
            continue;  // still being written or held open: taken in a later pass
        }
        ConvertFile(session, type, *taken.Claim);
        if (Terminated()) {
            return;
        }
    }
}

void TDelta::ConvertFile(const TSession& session, const TDD& type, TSourceClaim& claim) {
    const AnsiString source = type.From + FileName;
    TStringList lines;
    try {
        auto read = boundary_.ReadLines(claim);
        if (!read) {
            return;  // still being written: taken in a later pass
        }
        lines = std::move(*read);
        if (type.Codec == 0) {
            DecodeCoded(lines, type.Ident);
        } else {
            DecodeMoscow(lines, type.Ident);
        }
    } catch (const std::exception& error) {
        Fail(source, error.what() + boundary_.Release(claim));
        return;
    }
    if (Terminated()) {
        if (const std::string trouble = boundary_.Release(claim); !trouble.empty()) {
            Fail(source, "stopped" + trouble);
        }
        return;  // stopped while decoding: the source stays, no table
    }
    TTableWorkResult result;
    try {
        result = RunTableWork(
            session, type, FileName,
            [&](TTable& table) {
                if (type.Codec == 0) {
                    ConvertCoded(table, lines, type);
                } else {
                    ConvertMoscow(table, lines, type);
                }
            },
            *settings_.Files);
    } catch (const std::exception& error) {
        Fail(source, error.what() + boundary_.Release(claim));
        return;
    }
    if (const auto failure = boundary_.Consume(claim)) {
        Fail(source, "the table " + platform::Cp1251ToUtf8(result.TablePath) + " is written, but " +
                         *failure);
        return;
    }
    if (settings_.OnConverted) {
        settings_.OnConverted(source, result.TablePath, result.Records);
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
