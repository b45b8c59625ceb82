// The user's store on systems without a registry: one file in the user's
// configuration folder.
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

#include "platform/registry_store.h"

namespace platform {
namespace {

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

}  // namespace

std::filesystem::path UserStorePath() {
    std::filesystem::path config;
    // A relative XDG_CONFIG_HOME is invalid and ignored.
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg == '/') {
        config = xdg;
    } else {
        config = HomeFolder() / ".config";
    }
    return config / "kvadrel" / "registry.reg";
}

std::unique_ptr<Registry> OpenRegistry(const std::filesystem::path& file) {
    return std::make_unique<RegistryStore>(file.empty() ? UserStorePath() : file);
}

}  // namespace platform
