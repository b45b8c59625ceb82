// The machine-wide lock that lets only one copy of the program run.
#pragma once

#include <memory>
#include <string_view>

namespace platform {

// Taken at start and held until the process ends; the system frees it
// however the process ends (also when it is killed). On Windows it is the
// named mutex of that name; elsewhere an abstract UNIX socket bound to the
// name, shared by all processes of the same network namespace, which leaves
// no file behind and meets no file permissions or private /tmp between users.
class SingleInstanceLock {
  public:
    // Null when another holder (any process, this one included) has the lock.
    // Throws std::system_error when the lock cannot be tried at all, and
    // std::invalid_argument for an empty name or one longer than 107 bytes.
    static std::unique_ptr<SingleInstanceLock> TryAcquire(std::string_view name);

    virtual ~SingleInstanceLock() = default;
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

  protected:
    SingleInstanceLock() = default;
};

}  // namespace platform
