// The per-user folders of the XDG base directory rules.
#pragma once

#include <filesystem>

namespace platform {

// $HOME, or the home folder of the user's account entry; throws
// std::runtime_error when neither is known.
std::filesystem::path HomeFolder();

// $XDG_CONFIG_HOME, or ~/.config when it is unset or not absolute.
std::filesystem::path UserConfigFolder();

// $XDG_STATE_HOME, or ~/.local/state when it is unset or not absolute.
std::filesystem::path UserStateFolder();

}  // namespace platform
