// Elsewhere than on Windows the file's bytes are read once and decoded here.
#include "platform/files/whole_file.h"
#include "platform/store/ini_file.h"

namespace platform {

IniText IniText::Read(const std::filesystem::path& file) {
    return IniText(ReadWholeFileIfPresent(file).value_or(std::string()));
}

}  // namespace platform
