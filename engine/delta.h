// TDelta: the background worker. While it runs it walks the update types, turns
// every source file that nobody holds open into a dBASE table, deletes the
// source, and counts down 61 seconds between passes.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "config/descriptors.h"
#include "engine/code_values.h"
#include "engine/moscow_scramble.h"
#include "engine/source_boundary.h"
#include "engine/status_view.h"
#include "platform/file_system.h"
#include "platform/thread.h"

class TSession;
class TTable;

using TStringList = std::vector<AnsiString>;

struct TDeltaSettings {
    std::filesystem::path StoreFile;       // the per-user configuration store
    std::filesystem::path CodeValueFile;   // the code-value INI file
    std::chrono::milliseconds Tick{1000};  // one step of the countdown between passes
    bool SinglePass = false;               // one scan, no countdown, then the end of the run
    // A file that could not be converted; it stays for the next pass.
    std::function<void(const AnsiString& source, const std::string& reason)> OnFailure;
    // A file converted: its table is in place and the source is deleted.
    std::function<void(const AnsiString& source, const AnsiString& table, int records)> OnConverted;
    // Every file operation of the conversion goes through this one.
    platform::FileSystem* Files = &platform::SystemFileSystem();

    // The per-user store, the code-value file beside the executable, failures
    // written to standard error.
    static TDeltaSettings Defaults();
};

class TDelta : public platform::TThread {
  public:
    // Starts the thread at once.
    TDelta(TStatusPane& pane, TProgressBar& bar,
           TDeltaSettings settings = TDeltaSettings::Defaults());
    ~TDelta() override;

    // Numbered-code format.
    void DecodeCoded(TStringList& lines, const AnsiString& ident);
    void ConvertCoded(TTable& table, const TStringList& lines, const TDD& type);
    // Moscow-region format.
    void DecodeMoscow(TStringList& lines, const AnsiString& ident);
    void ConvertMoscow(TTable& table, const TStringList& lines, const TDD& type);

    TDL DL;
    TStatusPane& Pane;
    TProgressBar& Bar;
    AnsiString FileName;
    AnsiString StatusText;
    int32_t Percent = 0;
    CodeList KodObjList;
    CodeList TipZnakList;
    TMoscowConstants Moscow;

  protected:
    void Execute() override;

  private:
    void UpdateStatus();
    // Sets StatusText and Percent and hands them to the main thread when the
    // shown text or percentage changes.
    void Report(const AnsiString& text, int32_t percent);
    enum class TStep { Decode, Convert };
    // The report made before line i of n in a decode or fill step.
    void ReportLine(TStep step, size_t i, size_t n);
    // The fill step's loop: a row per line, filled by fillRow, which says
    // whether the row is kept; a row whose filling fails is dropped.
    // The decode step's loop: after the line report and the stop check, each
    // line goes to `decode`, which may rewrite it and says whether it is kept.
    // The list then holds the kept lines, trimmed, also after a stop.
    void DecodeLines(TStringList& lines, const std::function<bool(AnsiString& line)>& decode);
    void FillRows(TTable& table, const TStringList& lines,
                  const std::function<bool(const AnsiString& line)>& fillRow);
    void LoadConfiguration();
    void ReadCodeValues();
    // Why the files of a type are left alone in this pass, if they are.
    std::optional<std::string> WhyFilesStay(const TDD& type) const;
    void Scan(const TSession& session);
    void ScanType(const TSession& session, const TDD& type);
    // Whether `folder` is where some type writes its tables.
    bool IsTableFolder(const std::filesystem::path& folder) const;
    void ConvertFile(const TSession& session, const TDD& type, TSourceClaim& claim);
    void Wait();
    void Fail(const AnsiString& source, const std::string& reason) const;

    TDeltaSettings settings_;
    TSourceBoundary boundary_;
    bool codeValuesRead_ = false;
    AnsiString shownText_;
    int32_t shownPercent_ = -1;
    std::optional<TStep> shownStep_;  // the step of the line report last shown
};
