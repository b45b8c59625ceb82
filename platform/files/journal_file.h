// A text journal that several processes append to: every line reaches the
// file whole, and the file is rotated to "<name>.1" (one previous file kept)
// once it has grown to its limit.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Appends `line` (which ends with its line feed) in a single write, creating
// the journal and its folders as needed. When the journal has reached
// `rotateAt` bytes it first becomes "<name>.1", replacing the older one;
// two writers that find it full together rotate it once. Throws
// std::system_error or std::filesystem::filesystem_error naming the journal
// when it cannot be written.
void AppendJournalLine(const std::filesystem::path& journal, std::string_view line,
                       std::uintmax_t rotateAt);

// The journal's previous file, "<name>.1".
std::filesystem::path PreviousJournal(const std::filesystem::path& journal);

// The last `count` lines of the journal, taking the earlier ones from
// "<name>.1" when the journal itself has fewer; none when neither exists.
// Throws std::system_error when a file that exists cannot be read.
std::vector<std::string> LastJournalLines(const std::filesystem::path& journal, size_t count);

// The local date and time with the offset from UTC, "2024-03-05T14:07:09+03:00".
std::string LocalTimeWithOffset(std::chrono::system_clock::time_point time);

}  // namespace platform
