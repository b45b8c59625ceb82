#include "app/batch_journal.h"

#include <cstdio>
#include <exception>

#include "app/terminal_text.h"
#include "platform/files/journal_file.h"
#include "platform/system/program_name.h"
#include "platform/system/user_folders.h"

namespace {

std::string Escaped(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            escaped += "\\\\";
        } else if (c == '\t') {
            escaped += "\\t";
        } else if (c == '\n') {
            escaped += "\\n";
        } else if (byte < 0x20 || byte == 0x7F) {
            char code[8];
            std::snprintf(code, sizeof code, "\\x%02X", byte);
            escaped += code;
        } else {
            escaped += c;
        }
    }
    return escaped;
}

std::string LineStart(std::chrono::system_clock::time_point time, std::string_view type,
                      std::string_view source) {
    return platform::LocalTimeWithOffset(time) + '\t' + Escaped(type) + '\t' + Escaped(source) +
           '\t';
}

}  // namespace

std::filesystem::path JournalPath() {
    return platform::UserStateFolder() / platform::kProgramName / "journal.log";
}

std::string ConvertedJournalLine(std::chrono::system_clock::time_point time, std::string_view type,
                                 std::string_view source, std::string_view table, int records) {
    return LineStart(time, type, source) + Escaped(table) + '\t' + std::to_string(records) +
           " records\n";
}

std::string FailedJournalLine(std::chrono::system_clock::time_point time, std::string_view type,
                              std::string_view source, std::string_view reason) {
    return LineStart(time, type, source) + "failed: " + Escaped(reason) + '\n';
}

void BatchJournal::Converted(const AnsiString& type, const AnsiString& source,
                             const AnsiString& table, int records) {
    Append([&] {
        return ConvertedJournalLine(std::chrono::system_clock::now(), platform::Cp1251ToUtf8(type),
                                    platform::Cp1251ToUtf8(source), platform::Cp1251ToUtf8(table),
                                    records);
    });
}

void BatchJournal::Failed(const AnsiString& type, const AnsiString& source,
                          const std::string& reason) {
    Append([&] {
        return FailedJournalLine(std::chrono::system_clock::now(), platform::Cp1251ToUtf8(type),
                                 platform::Cp1251ToUtf8(source), reason);
    });
}

void BatchJournal::Append(const std::function<std::string()>& line) {
    try {
        if (!file_) {
            file_ = JournalPath();
        }
        platform::AppendJournalLine(*file_, line(), kJournalLimit);
    } catch (const std::exception& error) {
        if (!reported_) {
            ConsolePrintf(stderr, "kvadrel-batch: the journal is not kept: %s\n", error.what());
            reported_ = true;
        }
    }
}

int PrintJournal(const std::filesystem::path& file, int count) {
    try {
        for (const std::string& line : platform::LastJournalLines(file, size_t(count))) {
            ConsolePrintf(stdout, "%s\n", line.c_str());
        }
        return 0;
    } catch (const std::exception& error) {
        ConsolePrintf(stderr, "kvadrel-batch: %s\n", error.what());
        return 1;
    }
}
