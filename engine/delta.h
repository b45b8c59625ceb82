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

#include "config/auto.h"
#include "config/descriptors.h"
#include "engine/code_value_file.h"
#include "engine/formats/format_context.h"
#include "engine/formats/moscow_scramble.h"
#include "engine/source_boundary.h"
#include "engine/status_view.h"
#include "engine/table_work.h"
#include "platform/files/file_system.h"
#include "platform/system/thread.h"
#include "platform/text/line_list.h"

struct TDeltaSettings {
    std::filesystem::path StoreFile;       // the per-user configuration store
    std::filesystem::path CodeValueFile;   // the code-value INI file
    std::chrono::milliseconds Tick{1000};  // one step of the countdown between passes
    bool SinglePass = false;               // one scan, no countdown, then the end of the run
    // A file that could not be converted; it stays for the next pass. `type`
    // is the name of the update type scanned, empty outside the scan. Also
    // the store's and the code-value file's problems (`source` that file),
    // and an error that ends the run (`source` the program's name).
    // Standard error when unset.
    std::function<void(const AnsiString& type, const AnsiString& source, const std::string& reason)>
        OnFailure;
    // A file converted: its table is in place and the source is deleted.
    std::function<void(const AnsiString& type, const AnsiString& source, const AnsiString& table,
                       int records)>
        OnConverted;
    // A remark that is no failure (no update types configured, a Moscow-region
    // constant of the code-value file ignored); standard error when unset.
    std::function<void(const std::string& remark)> OnRemark;
    // Every file operation of the conversion goes through this one.
    platform::FileSystem* Files = &platform::SystemFileSystem();

    // The per-user store, the code-value file beside the executable, failures
    // written to standard error.
    static TDeltaSettings Defaults();
};

// The worker is the progress of the format steps it runs: it shows their
// reports in its status view, asks its stop signal for them, and tells them
// whether another program wants the file in work.
class TDelta : public platform::TThread, private TFormatProgress {
  public:
    // Starts the thread at once.
    TDelta(TStatusPane& pane, TProgressBar& bar,
           TDeltaSettings settings = TDeltaSettings::Defaults());
    ~TDelta() override;

    // The steps of the numbered-code format (engine/formats/coded_format.h)
    // and of the Moscow-region format (engine/formats/moscow_format.h) for the
    // file in work, with the worker's code values.
    void DecodeCoded(platform::LineList& lines, const AnsiString& ident);
    void ConvertCoded(TTable& table, const platform::LineList& lines, const TDD& type);
    void DecodeMoscow(platform::LineList& lines, const AnsiString& ident);
    void ConvertMoscow(TTable& table, const platform::LineList& lines, const TDD& type);

    TDL DL;
    TStatusPane& Pane;
    TProgressBar& Bar;
    AnsiString FileName;
    AnsiString StatusText;
    int32_t Percent = 0;
    Orv::Auto<CodeList> KodObjList;
    Orv::Auto<CodeList> TipZnakList;
    TMoscowConstants Moscow;

  protected:
    void Execute() override;

  private:
    void UpdateStatus();
    // Sets StatusText and Percent and hands them to the main thread when the
    // shown text or percentage changes.
    void Report(const AnsiString& text, int32_t percent) override;
    bool StopRequested() override;  // Terminated()
    bool SourceWanted() override;   // asks the claim of the file in work
    // What the format steps read of the worker.
    TFormatContext FormatContext();
    // A format's two steps among the four above.
    struct TFormatSteps {
        void (TDelta::*Decode)(platform::LineList& lines, const AnsiString& ident);
        void (TDelta::*Fill)(TTable& table, const platform::LineList& lines, const TDD& type);
    };
    // The steps of the type's format; throws std::invalid_argument when the
    // type has none.
    static const TFormatSteps& FormatStepsOf(const TDD& type);
    void LoadConfiguration();
    void ReadCodeValues();
    // Why the files of a type are left alone in this pass: the errors the
    // configuration rules find in it.
    std::vector<std::string> WhyFilesStay(const TDD& type) const;
    void Scan();
    void ScanType(const TDD& type);
    // Whether `folder` is where some type writes its tables.
    bool IsTableFolder(const std::filesystem::path& folder) const;
    // The path of one listed file: claimed, read, decoded, its table
    // written, and the source deleted; or the source kept and, unless it is
    // just busy (held open, or opened by another program while it was
    // converted), the reason reported.
    void ConvertFile(const TDD& type, const std::filesystem::path& folder,
                     const platform::ListedFile& file);
    std::optional<TSourceClaim> Claim(const AnsiString& source, const std::filesystem::path& folder,
                                      const platform::ListedFile& file);
    // Creates the ".tmp" table, fills it and puts it in place as the ".dbf".
    TTableWorkResult WriteTable(const TDD& type, const TFormatSteps& format,
                                const platform::LineList& lines);
    // Deletes the source whose table is in place if it is still the file that
    // was read; otherwise it stays and the reason is reported, unless another
    // program opened it meanwhile. True when its conversion is done.
    bool DeleteSource(TSourceClaim& claim, const AnsiString& source, const TTableWorkResult& table);
    // Leaves the source for a later pass and reports `reason` with whatever
    // went wrong on the way back.
    void KeepSource(TSourceClaim& claim, const AnsiString& source, const std::string& reason);
    // Leaves the source for a later pass as meant (a stop, a file another
    // program wants): only trouble on the way back is reported, after `why`.
    void LetGo(TSourceClaim& claim, const AnsiString& source, const std::string& why);
    void Wait();
    // The worker's one channel: OnFailure and OnRemark, or standard error for
    // a host that set none.
    void Fail(const AnsiString& source, const std::string& reason) const;
    void Remark(const std::string& remark) const;

    TDeltaSettings settings_;
    TSourceBoundary boundary_;
    Orv::Auto<TSession> session_;  // the run's, from its first pass to its end
    TCodeValueFile codeValueFile_;
    AnsiString scannedType_;          // the name of the update type being scanned
    TSourceClaim* inWork_ = nullptr;  // the file being converted, while it is
    AnsiString shownText_;
    int32_t shownPercent_ = -1;
};
