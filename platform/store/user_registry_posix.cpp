// The user's store on systems without a registry: one file in the user's
// configuration folder.
#include "platform/store/registry_store.h"
#include "platform/system/program_name.h"
#include "platform/system/user_folders.h"

namespace platform {

std::filesystem::path UserStorePath() {
    return UserConfigFolder() / kProgramName / "registry.reg";
}

std::unique_ptr<Registry> OpenRegistry(const std::filesystem::path& file) {
    return std::make_unique<RegistryStore>(file.empty() ? UserStorePath() : file);
}

}  // namespace platform
