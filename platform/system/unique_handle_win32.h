// An owned Windows handle, closed when its owner goes.
#pragma once

#include <windows.h>

#include <utility>

namespace platform {

class UniqueHandle {
  public:
    explicit UniqueHandle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
    ~UniqueHandle() { Close(); }
    UniqueHandle(UniqueHandle&& other) noexcept
        : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    HANDLE get() const { return handle_; }
    // False when the call that made it failed, or once it is closed.
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    // False when the system reports a failure.
    bool Close() {
        const HANDLE handle = std::exchange(handle_, INVALID_HANDLE_VALUE);
        return handle == INVALID_HANDLE_VALUE || ::CloseHandle(handle);
    }

  private:
    HANDLE handle_;
};

}  // namespace platform
