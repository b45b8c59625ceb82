// The lock that every field list carries, so that a list could be shared
// between threads. None is: each holder of the configuration keeps its own
// copy on its own thread, and no code enters the lock. A plain mutex
// therefore stands in for the system's spinning critical section on every
// system; a spin count would only matter to a lock that is entered.
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
