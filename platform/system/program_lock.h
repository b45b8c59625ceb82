// The lock that lets one of the programs run at a time: the window and
// kvadrel-batch exclude each other, whichever came first.
#pragma once

#include <memory>
#include <stdexcept>

#include "platform/system/single_instance.h"

namespace platform {

// Another copy holds the lock. The text is the one the operator is shown:
// "Программа уже запущена".
class ProgramAlreadyRunning : public std::runtime_error {
  public:
    ProgramAlreadyRunning();
};

// Held until it is destroyed or the process ends. Throws ProgramAlreadyRunning
// while another process holds it, and std::system_error when the lock cannot
// be tried at all.
std::unique_ptr<SingleInstanceLock> AcquireProgramLock();

}  // namespace platform
