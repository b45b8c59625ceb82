// Rules for the names of keys and values in the per-user store: how they
// compare (case-insensitively, as the registry compares them), how a key
// path splits into names, and which names the store file can hold.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

constexpr size_t kMaxKeyNameLength = 255;
constexpr size_t kMaxKeyDepth = 512;  // levels below the root
constexpr size_t kMaxValueNameLength = 16383;

// The registry's upper case of a code unit: that of Latin (ASCII, Latin-1,
// Latin Extended-A) and Cyrillic letters; every other code unit is its own
// upper case.
char16_t RegistryUpperCase(char16_t unit);
// What key and value names are found and ordered by: two names are the same
// when their keys are, and keys sort code unit by code unit.
std::u16string RegistryNameKey(std::u16string_view name);

// True when a name or a string fits on one line of the store file and reads
// back unchanged: no NUL, no line break, no unpaired surrogate.
bool FitsOnOneLine(std::u16string_view text);

// The key names of a path such as "\A\B" or "A\B" (the leading "\" is
// optional; "" and "\" name the root). Null when a name is empty, longer than
// 255 code units or does not fit on one line, or when the path is deeper than
// 512 levels.
std::optional<std::vector<std::u16string>> SplitKeyPath(std::u16string_view path);

// A value name the store accepts ("" is the key's default value).
bool IsValidValueName(std::u16string_view name);

}  // namespace platform
