#include "platform/files/private_directory.h"

#include <system_error>

namespace platform {

PrivateDirectory::~PrivateDirectory() {
    if (!removed_) {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
}

void PrivateDirectory::Remove() {
    removed_ = true;
    std::error_code error;
    std::filesystem::remove_all(path_, error);
    if (error) {
        throw std::system_error(error, "cannot remove " + path_.string());
    }
}

}  // namespace platform
