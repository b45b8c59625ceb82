#include "app/batch_options.h"

#include <charconv>
#include <stdexcept>
#include <string_view>

const char kBatchUsage[] =
    "usage: kvadrel-batch [--once] [--ini FILE] [--quiet]\n"
    "       kvadrel-batch --check [--ini FILE]\n"
    "       kvadrel-batch --preview TYPE FILE [--ini FILE]\n"
    "       kvadrel-batch --journal [N]\n"
    "       kvadrel-batch --help | --version\n";

const char kBatchHelp[] =
    "Converts update files into dBASE tables without a window, with the update types\n"
    "configured in kvadrel, until SIGINT or SIGTERM (which finish the file being filled).\n"
    "\n"
    "  --once          make one pass over the update types, then exit\n"
    "  --ini FILE      read the code values from FILE instead of kvadrel.INI\n"
    "                  beside the program\n"
    "  --quiet         no progress bar\n"
    "  --check         print every problem of the configuration; converts nothing\n"
    "  --preview TYPE FILE\n"
    "                  print the rows FILE would give as update type TYPE, and\n"
    "                  the lines not taken; writes no table and deletes nothing\n"
    "  --journal [N]   print the last N lines of the journal (default 20)\n"
    "  --help          print this help\n"
    "  --version       print the version\n"
    "\n"
    "Exit status: 0 all converted, 1 a file failed, 2 bad arguments,\n"
    "3 another copy runs.\n";

namespace {

using TCommand = BatchOptions::TCommand;

// A count of lines: digits only.
std::optional<int> LineCount(std::string_view text) {
    if (text.empty() || text[0] < '0' || text[0] > '9') {
        return std::nullopt;  // from_chars would take a sign
    }
    int count = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return count;
}

void SetCommand(BatchOptions& options, TCommand command, std::string_view argument) {
    if (options.Command != TCommand::Convert && options.Command != command) {
        throw std::invalid_argument(std::string(argument) +
                                    " cannot be combined with another command");
    }
    options.Command = command;
}

}  // namespace

BatchOptions ParseBatchOptions(int argc, const char* const argv[]) {
    BatchOptions options;
    bool convertOption = false;  // --once or --quiet, which only a conversion takes
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--once") {
            options.Once = true;
            convertOption = true;
        } else if (argument == "--quiet") {
            options.Quiet = true;
            convertOption = true;
        } else if (argument == "--ini") {
            if (i + 1 == argc) {
                throw std::invalid_argument("--ini needs a file name");
            }
            options.Ini = argv[++i];
        } else if (argument == "--check") {
            SetCommand(options, TCommand::Check, argument);
        } else if (argument == "--help") {
            SetCommand(options, TCommand::Help, argument);
        } else if (argument == "--version") {
            SetCommand(options, TCommand::Version, argument);
        } else if (argument == "--journal") {
            SetCommand(options, TCommand::Journal, argument);
            if (i + 1 < argc) {
                if (const auto count = LineCount(argv[i + 1])) {
                    options.JournalLines = *count;
                    ++i;
                }
            }
        } else if (argument == "--preview") {
            SetCommand(options, TCommand::Preview, argument);
            if (i + 2 >= argc) {
                throw std::invalid_argument("--preview needs an update type and a file");
            }
            options.PreviewType = argv[++i];
            options.PreviewFile = argv[++i];
        } else {
            throw std::invalid_argument("unknown argument '" + std::string(argument) + "'");
        }
    }
    if (options.Command == TCommand::Help || options.Command == TCommand::Version) {
        return options;  // answered whatever else the line asks
    }
    if (convertOption && options.Command != TCommand::Convert) {
        throw std::invalid_argument("--once and --quiet only go with a conversion");
    }
    if (options.Ini && options.Command != TCommand::Convert && options.Command != TCommand::Check &&
        options.Command != TCommand::Preview) {
        throw std::invalid_argument("--ini only goes with a conversion, --check or --preview");
    }
    return options;
}
