#include "platform/native_path.h"

namespace platform {

std::filesystem::path NativePath(std::string_view ansiPath) {
    return std::filesystem::path(Cp1251ToUtf8(ansiPath));
}

AnsiString AnsiFileName(const std::filesystem::path& path) {
    return Utf8ToCp1251(path.native());
}

}  // namespace platform
