#include "platform/system/program_lock.h"

#include "platform/system/program_name.h"

namespace platform {

ProgramAlreadyRunning::ProgramAlreadyRunning() : std::runtime_error("Программа уже запущена") {}

std::unique_ptr<SingleInstanceLock> AcquireProgramLock() {
    auto lock = SingleInstanceLock::TryAcquire(kProgramName);
    if (!lock) {
        throw ProgramAlreadyRunning();
    }
    return lock;
}

}  // namespace platform
