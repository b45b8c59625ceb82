#include "platform/files/private_directory.h"

#include <cstdio>
#include <system_error>

namespace platform {

PrivateDirectory::~PrivateDirectory() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
    if (error) {
        std::fprintf(stderr, "cannot remove %s: %s\n", path_.string().c_str(),
                     error.message().c_str());
    }
}

}  // namespace platform
