#include "platform/system/executable_path.h"

#include <string>

#include "platform/system/program_name.h"

namespace platform {

std::filesystem::path CodeValueFilePath() {
    return ExecutablePath().parent_path() / (std::string(kProgramName) + ".INI");
}

}  // namespace platform
