// The machine-wide lock that lets only one copy of the program run.
#pragma once

#include <memory>
#include <string_view>
#include <utility>

#include "platform/unique_fd.h"

namespace platform {

// Held by binding an abstract UNIX socket named after the lock: the kernel
// frees the name when the socket closes, however the process ends (also on
// SIGKILL), no file is left behind, and no file permissions or private /tmp
// get in the way between users. The name is shared by all processes of the
// same network namespace.
class SingleInstanceLock {
  public:
    // Null when another holder (any process, this one included) has the lock.
    // Throws std::system_error when the lock cannot be tried at all, and
    // std::invalid_argument for an empty name or one longer than 107 bytes.
    static std::unique_ptr<SingleInstanceLock> TryAcquire(std::string_view name);

    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

  private:
    explicit SingleInstanceLock(UniqueFd socket) : socket_(std::move(socket)) {}
    UniqueFd socket_;
};

}  // namespace platform
