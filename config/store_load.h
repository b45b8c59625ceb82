// What loading the configuration found wrong with the store file. Loading
// itself reports nothing (a damaged store still gives what could be read);
// its callers decide who is told.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/store/registry_store.h"

struct TStoreLoad {
    std::filesystem::path File;
    std::string ReadError;  // the file is there but could not be read: nothing was loaded
    std::vector<platform::RegSkippedLine> SkippedLines;  // left out of the configuration
    // Why the configuration key that the load added to a store without one
    // (a missing file included) could not be written to it: a note, since the
    // configuration loaded is whole all the same.
    std::string CloseError;

    // The problems in one line each, none for a sound file: the read error,
    // or how many lines were left out, which ones, and what becomes of them.
    std::vector<std::string> Problems() const;
};
