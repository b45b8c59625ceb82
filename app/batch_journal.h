// The journal of kvadrel-batch: one line per converted and per failed file,
// in $XDG_STATE_HOME/kvadrel/journal.log, so that an unattended converter
// leaves a record of its work.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/text/codepage.h"

// Where the journal is kept.
std::filesystem::path JournalPath();

// The size at which the journal is rotated.
inline constexpr std::uintmax_t kJournalLimit = 10 * 1024 * 1024;

// "<time>\t<type>\t<source>\t<table>\t<N> records" and
// "<time>\t<type>\t<source>\tfailed: <reason>", each with its line feed. The
// texts are UTF-8; tabs, line breaks and other control characters in them are
// written as \t, \n, \xNN and a backslash as \\, so that a line stays one line
// of four or five fields.
std::string ConvertedJournalLine(std::chrono::system_clock::time_point time, std::string_view type,
                                 std::string_view source, std::string_view table, int records);
std::string FailedJournalLine(std::chrono::system_clock::time_point time, std::string_view type,
                              std::string_view source, std::string_view reason);

// Writes the lines for the worker's callbacks. A journal that cannot be
// written is reported on standard error once and never stops a conversion.
class BatchJournal {
  public:
    // The journal at JournalPath(), found when the first line is written.
    BatchJournal() = default;
    explicit BatchJournal(std::filesystem::path file) : file_(std::move(file)) {}

    // The names are the worker's Windows-1251 texts.
    void Converted(const AnsiString& type, const AnsiString& source, const AnsiString& table,
                   int records);
    void Failed(const AnsiString& type, const AnsiString& source, const std::string& reason);

  private:
    // Builds the line and appends it; nothing that fails here reaches the worker.
    void Append(const std::function<std::string()>& line);

    std::optional<std::filesystem::path> file_;
    bool reported_ = false;
};

// Prints the journal's last `count` lines; returns the exit status.
int PrintJournal(const std::filesystem::path& file, int count);
