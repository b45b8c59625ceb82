// The command line of kvadrel-batch.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

struct BatchOptions {
    // What the run does: convert (the default), or one of the other commands.
    enum class TCommand { Convert, Check, Help, Version, Journal, Preview };
    TCommand Command = TCommand::Convert;
    bool Once = false;
    bool Quiet = false;
    std::optional<std::filesystem::path> Ini;
    int JournalLines = 20;    // --journal [N]
    std::string PreviewType;  // --preview TYPE FILE, the type's name as UTF-8
    std::filesystem::path PreviewFile;
};

// Throws std::invalid_argument saying what is wrong.
BatchOptions ParseBatchOptions(int argc, const char* const argv[]);

// The usage lines, each ending with a line feed.
extern const char kBatchUsage[];
// The usage and what every option does, for --help.
extern const char kBatchHelp[];
