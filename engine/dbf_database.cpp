#include "engine/dbf_database.h"

#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "engine/dbf_native_path.h"

void TDatabase::Open() {
    if (DatabaseName.empty()) {
        throw std::runtime_error("no directory given for the database");
    }
    const auto directory = dbf::NativePath(DatabaseName);
    std::error_code error;
    const auto status = std::filesystem::status(directory, error);
    const std::string quoted = "directory '" + directory.string() + "'";
    if (status.type() == std::filesystem::file_type::not_found) {
        throw std::runtime_error(quoted + " does not exist");
    }
    if (error) {
        throw std::system_error(error, "cannot examine " + quoted);
    }
    if (status.type() != std::filesystem::file_type::directory) {
        throw std::runtime_error("'" + directory.string() + "' is not a directory");
    }
    connected_ = true;
}
