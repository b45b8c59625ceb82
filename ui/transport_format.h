// The transport formats by their Codec value, which is also their index in the
// type editor's list.
#pragma once

inline constexpr int kNumberedCodeFormat = 0;  // "/<код>=<значение>"
inline constexpr int kMoscowFormat = 1;
