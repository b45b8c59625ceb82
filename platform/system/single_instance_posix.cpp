#include "platform/system/single_instance.h"

#include <sys/socket.h>
#include <sys/un.h>

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <stdexcept>
#include <string>
#include <system_error>

#include "platform/system/unique_fd_posix.h"

namespace platform {
namespace {

class SocketLock : public SingleInstanceLock {
  public:
    explicit SocketLock(UniqueFd socket) : socket_(std::move(socket)) {}

  private:
    UniqueFd socket_;
};

}  // namespace

std::unique_ptr<SingleInstanceLock> SingleInstanceLock::TryAcquire(std::string_view name) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    // An abstract name starts with a NUL byte in place of a path.
    if (name.empty() || name.size() > sizeof(address.sun_path) - 1) {
        throw std::invalid_argument("invalid single-instance lock name \"" + std::string(name) +
                                    "\"");
    }
    std::memcpy(address.sun_path + 1, name.data(), name.size());
    const auto length = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + name.size());

    UniqueFd socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (socket.get() < 0) {
        const int error = errno;
        throw std::system_error(error, std::generic_category(),
                                "cannot create the single-instance lock");
    }
    if (::bind(socket.get(), reinterpret_cast<const sockaddr*>(&address), length) != 0) {
        const int error = errno;
        if (error == EADDRINUSE) {
            return nullptr;
        }
        throw std::system_error(
            error, std::generic_category(),
            "cannot take the single-instance lock \"" + std::string(name) + "\"");
    }
    return std::make_unique<SocketLock>(std::move(socket));
}

}  // namespace platform
