#include "engine/dbf/dbf_database.h"

#include <stdexcept>

#include "platform/files/native_path.h"

void TDatabase::Open() {
    if (DatabaseName.empty()) {
        throw std::runtime_error("no directory given for the database");
    }
    const auto directory = platform::NativePath(DatabaseName);
    if (!Files->IsFolder(directory)) {
        if (!Files->Status(directory)) {
            throw std::runtime_error("directory '" + directory.string() + "' does not exist");
        }
        throw std::runtime_error("'" + directory.string() + "' is not a directory");
    }
    connected_ = true;
}
