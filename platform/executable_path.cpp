#include "platform/executable_path.h"

#include <string>

#include "platform/program_name.h"

namespace platform {

std::filesystem::path ExecutablePath() {
    return std::filesystem::read_symlink("/proc/self/exe");
}

std::filesystem::path CodeValueFilePath() {
    return ExecutablePath().parent_path() / (std::string(kProgramName) + ".INI");
}

}  // namespace platform
