#include "platform/files/journal_file.h"

#include <cstdio>
#include <cstdlib>

#include "platform/files/whole_file.h"
#include "platform/system/local_time.h"

namespace platform {
namespace {

// Adds the last lines of `bytes` in front of `lines` until it holds `count`.
void TakeLastLines(std::string_view bytes, size_t count, std::vector<std::string>& lines) {
    if (!bytes.empty() && bytes.back() == '\n') {
        bytes.remove_suffix(1);
    }
    std::vector<std::string> taken;
    while (!bytes.empty() && lines.size() + taken.size() < count) {
        const size_t start = bytes.rfind('\n');
        const size_t from = start == std::string_view::npos ? 0 : start + 1;
        taken.emplace_back(bytes.substr(from));
        bytes = bytes.substr(0, start == std::string_view::npos ? 0 : start);
    }
    lines.insert(lines.begin(), taken.rbegin(), taken.rend());
}

}  // namespace

std::filesystem::path PreviousJournal(const std::filesystem::path& journal) {
    return journal.string() + ".1";
}

std::vector<std::string> LastJournalLines(const std::filesystem::path& journal, size_t count) {
    std::vector<std::string> lines;
    TakeLastLines(ReadWholeFileIfPresent(journal).value_or(std::string()), count, lines);
    if (lines.size() < count) {
        TakeLastLines(ReadWholeFileIfPresent(PreviousJournal(journal)).value_or(std::string()),
                      count, lines);
    }
    return lines;
}

std::string LocalTimeWithOffset(std::chrono::system_clock::time_point time) {
    const LocalTime local = LocalTimeAt(time);
    const int64_t offsetMinutes = std::llabs(local.UtcOffsetSeconds) / 60;
    char text[96];  // room for any int: no truncation to think of
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d", local.Year,
                  local.Month, local.Day, local.Hour, local.Minute, local.Second,
                  local.UtcOffsetSeconds < 0 ? '-' : '+', int(offsetMinutes / 60),
                  int(offsetMinutes % 60));
    return text;
}

}  // namespace platform
