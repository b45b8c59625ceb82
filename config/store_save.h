// What a save of the configuration has to say beside its success: where the
// damaged store file it replaced is kept. Saving itself writes nothing else;
// its callers decide who is told.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

struct TStoreSave {
    std::filesystem::path File;
    std::filesystem::path BackupFile;  // the copy of the file replaced; empty when none was made

    // The notes in one line each, none for a plain save.
    std::vector<std::string> Notes() const;
};
