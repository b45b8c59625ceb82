// The command line of kvadrel-batch: [--once] [--ini FILE] [--quiet], or
// --check [--ini FILE].
#pragma once

#include <filesystem>
#include <optional>
#include <string>

struct BatchOptions {
    bool Once = false;
    bool Quiet = false;
    bool Check = false;  // judge the configuration, convert nothing
    std::optional<std::filesystem::path> Ini;
};

// Throws std::invalid_argument saying what is wrong.
BatchOptions ParseBatchOptions(int argc, const char* const argv[]);

extern const char kBatchUsage[];
