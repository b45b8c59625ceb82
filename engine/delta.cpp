#include "engine/delta.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <thread>

#include "config/transport_format.h"
#include "engine/formats/coded_format.h"
#include "engine/formats/moscow_format.h"
#include "engine/formats/record_format.h"
#include "engine/type_rules.h"
#include "platform/files/file_listing.h"
#include "platform/files/native_path.h"
#include "platform/store/registry_store.h"
#include "platform/system/executable_path.h"
#include "platform/system/local_time.h"
#include "platform/system/program_name.h"

namespace {

constexpr int kWaitTicks = 61;
constexpr char kWaitPrefix[] = "\xCE\xE6\xE8\xE4\xE0\xED\xE8\xE5 ";  // "Ожидание "
constexpr char kSeconds[] = " \xF1\xE5\xEA\xF3\xED\xE4";             // " секунд"

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
      KodObjList(std::make_unique<CodeList>()),
      TipZnakList(std::make_unique<CodeList>()),
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
    if (StatusText == shownText_ && Percent == shownPercent_) {
        return;
    }
    shownText_ = StatusText;
    shownPercent_ = Percent;
    Synchronize([this] { UpdateStatus(); });
}

bool TDelta::StopRequested() {
    return Terminated();
}

bool TDelta::SourceWanted() {
    return inWork_ != nullptr && inWork_->Wanted();
}

TFormatContext TDelta::FormatContext() {
    return {*KodObjList, *TipZnakList, Moscow, FileName, *this};
}

namespace {

// The worker's one default sink, and with TThread's last resort the only
// write to standard error below the window and kvadrel-batch: a host that
// sets no callback of its own still loses no failure or remark in silence
// (the window sets none and so writes the failure lines there, as designed).
void ToStandardError(const std::string& line) {
    std::fprintf(stderr, "%s\n", line.c_str());
}

}  // namespace

void TDelta::Fail(const AnsiString& source, const std::string& reason) const {
    if (settings_.OnFailure) {
        settings_.OnFailure(scannedType_, source, reason);
    } else {
        ToStandardError(platform::Cp1251ToUtf8(source) + ": " + reason);
    }
}

void TDelta::Remark(const std::string& remark) const {
    if (settings_.OnRemark) {
        settings_.OnRemark(remark);
    } else {
        ToStandardError(std::string(platform::kProgramName) + ": " + remark);
    }
}

void TDelta::LoadConfiguration() {
    const AnsiString store = platform::AnsiFileName(settings_.StoreFile);
    try {
        const TStoreLoad found = DL.Load(settings_.StoreFile);
        for (const std::string& problem : found.Problems()) {
            Fail(store, problem);
        }
        if (!found.CloseError.empty()) {
            Remark(found.CloseError);  // the run has its configuration all the same
        }
        if (DL.Count == 0 && found.ReadError.empty()) {
            // Not a failure (the worker just waits), but likely the wrong store.
            Remark("no update types are configured in " + settings_.StoreFile.string());
        }
    } catch (const std::exception& error) {
        Fail(store, error.what());
    }
}

void TDelta::ReadCodeValues() {
    KodObjList = std::make_unique<CodeList>();
    TipZnakList = std::make_unique<CodeList>();
    codeValueFile_ = LoadCodeValueFile(settings_.CodeValueFile, *KodObjList, *TipZnakList, Moscow);
    if (codeValueFile_.State == TCodeValueFile::TState::Unreadable) {
        Fail(platform::AnsiFileName(settings_.CodeValueFile), codeValueFile_.Error);
    }
    const std::string file = platform::Cp1251ToUtf8(platform::AnsiFileName(codeValueFile_.Path));
    for (const std::string& ignored : codeValueFile_.Ignored) {
        Remark(file + ": " + ignored);
    }
}

void TDelta::Execute() {
    try {
        LoadConfiguration();
        StatusText.clear();
        ReadCodeValues();
        session_ = std::make_unique<TSession>(SessionName());
        while (!Terminated()) {
            Scan();
            if (settings_.SinglePass) {
                break;
            }
            Wait();
            if (codeValueFile_.State == TCodeValueFile::TState::Unreadable) {
                ReadCodeValues();  // the file may be readable again by now
            }
        }
    } catch (const std::exception& error) {
        // Out of memory and the like: the run ends, but still with its final
        // reset. No file is at fault; the program is the subject of the line.
        scannedType_.clear();
        Fail(platform::kProgramName, std::string("the converter stops: ") + error.what());
    }
    StatusText.clear();
    Percent = 0;
    shownText_.clear();
    shownPercent_ = 0;
    Synchronize([this] { UpdateStatus(); });
    session_.reset();
}

void TDelta::Scan() {
    boundary_.NextPass();
    for (const TDD* type = DL.First; type != nullptr; type = type->Next) {
        scannedType_ = type->Name;
        try {
            ScanType(*type);
        } catch (const std::exception& error) {
            Fail(type->From + type->Mask, error.what());  // the type is tried again next pass
        }
    }
    scannedType_.clear();
}

std::vector<std::string> TDelta::WhyFilesStay(const TDD& type) const {
    const std::string name = "update type '" + platform::Cp1251ToUtf8(type.Name) + "': ";
    std::vector<std::string> reasons;
    for (const TTypeProblem& problem : CheckType(type, {*KodObjList, codeValueFile_})) {
        if (problem.Level == TTypeProblem::TLevel::Error) {
            reasons.push_back(name + problem.Text + "; its files stay");
        }
    }
    return reasons;
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

void TDelta::ScanType(const TDD& type) {
    const AnsiString pattern = type.From + type.Mask;
    if (const auto reasons = WhyFilesStay(type); !reasons.empty()) {
        for (const std::string& reason : reasons) {
            Fail(pattern, reason);  // once per pass, files or none
        }
        return;
    }
    const auto listed = platform::FindFiles(pattern, *settings_.Files);
    const auto folder = platform::PatternFolder(pattern);
    const bool tableFolder = IsTableFolder(folder);
    for (const platform::ListedFile& file : listed) {
        if (Terminated()) {
            return;
        }
        if (tableFolder && IsTableName(file.Name)) {
            continue;  // our own output, not a source
        }
        ConvertFile(type, folder, file);
    }
}

namespace {

// Points the worker's answer to SourceWanted at the file being converted,
// for as long as it is.
class TFileInWork {
  public:
    TFileInWork(TSourceClaim*& slot, TSourceClaim& claim) : slot_(slot) { slot_ = &claim; }
    ~TFileInWork() { slot_ = nullptr; }
    TFileInWork(const TFileInWork&) = delete;
    TFileInWork& operator=(const TFileInWork&) = delete;

  private:
    TSourceClaim*& slot_;
};

}  // namespace

void TDelta::ConvertFile(const TDD& type, const std::filesystem::path& folder,
                         const platform::ListedFile& file) {
    FileName = file.Name;
    const AnsiString source = type.From + FileName;
    auto claim = Claim(source, folder, file);
    if (!claim) {
        return;
    }
    const TFileInWork inWork(inWork_, *claim);
    TTableWorkResult table;
    try {
        const TFormatSteps& format = FormatStepsOf(type);
        auto lines = boundary_.ReadLines(*claim);
        if (!lines) {
            return;  // still being written: taken in a later pass
        }
        (this->*format.Decode)(*lines, type.Ident);
        if (Terminated()) {
            LetGo(*claim, source, "stopped");  // stopped while decoding: no table
            return;
        }
        table = WriteTable(type, format, *lines);
    } catch (const TSourceWanted& wanted) {
        // Busy: the other program's open returns now, and a later pass
        // takes the file whole. Not a stop: the scan goes on.
        LetGo(*claim, source, wanted.what());
        return;
    } catch (const std::exception& error) {
        KeepSource(*claim, source, error.what());
        return;
    }
    if (DeleteSource(*claim, source, table) && settings_.OnConverted) {
        settings_.OnConverted(scannedType_, source, table.TablePath, table.Records);
    }
}

const TDelta::TFormatSteps& TDelta::FormatStepsOf(const TDD& type) {
    // In the order of their Codec.
    static constexpr std::array<TFormatSteps, 2> kSteps{{
        {&TDelta::DecodeCoded, &TDelta::ConvertCoded},
        {&TDelta::DecodeMoscow, &TDelta::ConvertMoscow},
    }};
    static_assert(kSteps.size() == kTransportFormatCount);
    return kSteps[FormatIndexOf(type.Codec)];
}

void TDelta::DecodeCoded(platform::LineList& lines, const AnsiString& ident) {
    TCodedFormat().Decode(lines, ident, FormatContext());
}

void TDelta::ConvertCoded(TTable& table, const platform::LineList& lines, const TDD& type) {
    TCodedFormat().Fill(table, lines, type, FormatContext());
}

void TDelta::DecodeMoscow(platform::LineList& lines, const AnsiString& ident) {
    TMoscowFormat().Decode(lines, ident, FormatContext());
}

void TDelta::ConvertMoscow(TTable& table, const platform::LineList& lines, const TDD& type) {
    TMoscowFormat().Fill(table, lines, type, FormatContext());
}

std::optional<TSourceClaim> TDelta::Claim(const AnsiString& source,
                                          const std::filesystem::path& folder,
                                          const platform::ListedFile& file) {
    auto taken = boundary_.Take(folder, file);
    if (taken.Failure) {
        Fail(source, *taken.Failure);
    }
    // Neither claimed nor failed: still being written or held open, taken
    // in a later pass.
    return std::move(taken.Claim);
}

TTableWorkResult TDelta::WriteTable(const TDD& type, const TFormatSteps& format,
                                    const platform::LineList& lines) {
    TTableWork work(*session_, type, type.To, FileName, *settings_.Files);
    return work.Write([&](TTable& table) { (this->*format.Fill)(table, lines, type); });
}

bool TDelta::DeleteSource(TSourceClaim& claim, const AnsiString& source,
                          const TTableWorkResult& table) {
    const TSourceBoundary::TConsumed consumed = boundary_.Consume(claim);
    if (consumed.Failure) {
        Fail(source, "the table " + platform::Cp1251ToUtf8(table.TablePath) + " is written, but " +
                         *consumed.Failure);
    }
    return consumed.Done;
}

void TDelta::KeepSource(TSourceClaim& claim, const AnsiString& source, const std::string& reason) {
    const std::string trouble = boundary_.Release(claim);
    Fail(source, reason + trouble);
}

void TDelta::LetGo(TSourceClaim& claim, const AnsiString& source, const std::string& why) {
    const std::string trouble = boundary_.Release(claim);
    if (!trouble.empty()) {
        Fail(source, why + trouble);
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
