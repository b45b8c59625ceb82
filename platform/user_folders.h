// The per-user folders of the XDG base directory rules.
#pragma once

#include <filesystem>

namespace platform {

// $XDG_CONFIG_HOME, or ~/.config when it is unset or not absolute.
std::filesystem::path UserConfigFolder();

// $XDG_STATE_HOME, or ~/.local/state when it is unset or not absolute.
std::filesystem::path UserStateFolder();

}  // namespace platform
