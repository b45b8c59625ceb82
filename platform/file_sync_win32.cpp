#include <io.h>

#include <cerrno>
#include <system_error>

#include "platform/file_sync.h"
#include "platform/file_system.h"

namespace platform {

void FlushFile(int fd, const std::filesystem::path& name) {
    if (::_commit(fd) != 0) {  // FlushFileBuffers on the descriptor's handle
        const int error = errno;
        throw std::system_error(error, std::generic_category(), "cannot flush " + name.string());
    }
}

void FlushDirectory(const std::filesystem::path& directory) {
    SystemFileSystem().FlushFolder(directory);
}

}  // namespace platform
