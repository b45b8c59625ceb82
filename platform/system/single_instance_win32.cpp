#include <windows.h>

#include <stdexcept>
#include <string>
#include <system_error>

#include "platform/system/error_text_win32.h"
#include "platform/system/single_instance.h"
#include "platform/text/codepage.h"

namespace platform {
namespace {

constexpr size_t kMaxNameLength = 107;  // the same names as on every other system

class MutexLock : public SingleInstanceLock {
  public:
    explicit MutexLock(HANDLE mutex) : mutex_(mutex) {}
    // Closing our handle lets the system free the mutex.
    ~MutexLock() override { ::CloseHandle(mutex_); }

  private:
    HANDLE mutex_;
};

}  // namespace

std::unique_ptr<SingleInstanceLock> SingleInstanceLock::TryAcquire(std::string_view name) {
    if (name.empty() || name.size() > kMaxNameLength) {
        throw std::invalid_argument("invalid single-instance lock name \"" + std::string(name) +
                                    "\"");
    }
    const std::u16string wide = Utf8ToUtf16(name);
    const std::wstring mutexName(wide.begin(), wide.end());
    // Owned by this process from the start, as the running copy's mark.
    const HANDLE mutex = ::CreateMutexW(nullptr, TRUE, mutexName.c_str());
    const DWORD error = ::GetLastError();
    if (mutex == nullptr) {
        throw std::system_error(
            int(error), Win32Category(),
            "cannot take the single-instance lock \"" + std::string(name) + "\"");
    }
    if (error == ERROR_ALREADY_EXISTS) {
        ::CloseHandle(mutex);
        return nullptr;
    }
    return std::make_unique<MutexLock>(mutex);
}

}  // namespace platform
