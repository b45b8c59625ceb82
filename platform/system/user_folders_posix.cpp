#include "platform/system/user_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

namespace platform {

namespace {

// $HOME, or the home folder of the user's account entry; throws
// std::runtime_error when neither is known.
std::filesystem::path HomeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return home;
    }
    passwd entry{};
    passwd* found = nullptr;
    char buffer[4096];
    if (::getpwuid_r(::getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr &&
        found->pw_dir != nullptr) {
        return found->pw_dir;
    }
    throw std::runtime_error("cannot find the home folder: HOME is not set");
}

// A relative value is invalid and ignored.
std::filesystem::path XdgFolder(const char* variable, const std::filesystem::path& fallback) {
    if (const char* value = std::getenv(variable); value != nullptr && *value == '/') {
        return value;
    }
    return HomeFolder() / fallback;
}

}  // namespace

std::filesystem::path UserConfigFolder() {
    return XdgFolder("XDG_CONFIG_HOME", ".config");
}

std::filesystem::path UserStateFolder() {
    return XdgFolder("XDG_STATE_HOME", ".local/state");
}

}  // namespace platform
