#include "platform/ini_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <optional>
#include <system_error>

namespace platform {
namespace {

// The whole file, or nothing when it does not exist.
std::optional<std::string> ReadFileBytes(const std::filesystem::path& file) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return std::nullopt;
        }
        throw std::system_error(errno, std::generic_category(), "cannot open " + file.string());
    }
    std::string bytes;
    std::array<char, 65536> buffer;
    for (;;) {
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            const int error = errno;
            ::close(fd);
            throw std::system_error(error, std::generic_category(), "cannot read " + file.string());
        }
        if (got == 0) {
            break;
        }
        bytes.append(buffer.data(), size_t(got));
    }
    ::close(fd);
    return bytes;
}

}  // namespace

IniText IniText::Read(const std::filesystem::path& file) {
    return IniText(ReadFileBytes(file).value_or(std::string()));
}

}  // namespace platform
