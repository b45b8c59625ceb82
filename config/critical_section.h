// A lock object that list types carry; the Windows build gives it a spin count
// of 4000.
#pragma once

#include <mutex>

namespace Orv {

class TCriticalSection {
  public:
    TCriticalSection() = default;
    TCriticalSection(const TCriticalSection&) = delete;
    TCriticalSection& operator=(const TCriticalSection&) = delete;
    virtual ~TCriticalSection() = default;

  private:
    std::mutex section_;
};

}  // namespace Orv
