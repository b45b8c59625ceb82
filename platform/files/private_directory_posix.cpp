#include "platform/files/private_directory.h"

#include <cerrno>
#include <cstdlib>
#include <string>
#include <system_error>

namespace platform {

PrivateDirectory::PrivateDirectory() {
    const char* temporary = std::getenv("TMPDIR");
    std::string name = std::string(temporary != nullptr && *temporary == '/' ? temporary : "/tmp") +
                       "/kvadrel.XXXXXX";
    if (::mkdtemp(name.data()) == nullptr) {
        throw std::system_error(errno, std::generic_category(),
                                "cannot make a temporary folder in " + name);
    }
    path_ = name;
}

}  // namespace platform
