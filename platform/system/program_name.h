// The name the programs share: the lock that lets one of them run at a time,
// the folders of their per-user files and the code-value file are named by it.
#pragma once

namespace platform {

inline constexpr char kProgramName[] = "kvadrel";

}  // namespace platform
