#include "platform/system/executable_path.h"

namespace platform {

std::filesystem::path ExecutablePath() {
    return std::filesystem::read_symlink("/proc/self/exe");
}

}  // namespace platform
