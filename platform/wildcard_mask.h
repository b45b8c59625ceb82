// File mask matching with the Windows wildcard rules, on Windows-1251 names.
#pragma once

#include <string_view>

namespace platform {

// '*' matches any run of characters (also none), '?' exactly one; letters
// compare without regard to case (Latin and Cyrillic). A mask ending in ".*"
// also matches names without that extension, so "*.*" matches every name,
// and a mask ending in "." matches only names without a dot ("*." is every
// name without an extension). An empty mask matches nothing, as an empty mask
// finds no file on Windows.
bool MatchesMask(std::string_view name, std::string_view mask);

}  // namespace platform
