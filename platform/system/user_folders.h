// The per-user folders: of the XDG base directory rules, or on Windows the
// user's application data folders.
#pragma once

#include <filesystem>

namespace platform {

// $XDG_CONFIG_HOME, or ~/.config when it is unset or not absolute; on
// Windows the roaming application data folder.
std::filesystem::path UserConfigFolder();

// $XDG_STATE_HOME, or ~/.local/state when it is unset or not absolute; on
// Windows the local application data folder.
std::filesystem::path UserStateFolder();

}  // namespace platform
