#include "platform/executable_path.h"

namespace platform {

std::filesystem::path CodeValueFilePath() {
    return ExecutablePath().replace_extension(".INI");
}

}  // namespace platform
