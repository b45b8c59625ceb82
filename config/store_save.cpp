#include "config/store_save.h"

std::vector<std::string> TStoreSave::Notes() const {
    if (BackupFile.empty()) {
        return {};
    }
    return {File.string() + " had lines that could not be read; it is kept as " +
            BackupFile.string()};
}
