// File mask matching with the Windows wildcard rules, on Windows-1251 names.
#pragma once

#include <string_view>

namespace platform {

// The rules of the Windows file listing, letters compared without regard to
// case (Latin and Cyrillic):
// - '*' matches any run of characters, also none; a '*' right before a '.'
//   does not take the name's last dot, so "*." is every name without a dot;
// - '?' matches any one character other than a dot, and where the name ends
//   or a dot follows it matches nothing, so "upd???.dat" takes "upd1.dat"
//   as well as "upd123.dat";
// - a '.' before '?', before '*' or at the end of the mask also matches the
//   end of the name, so "abc.*" and "abc." take "abc", and "*.*" every name.
// An empty mask matches nothing, as an empty mask finds no file on Windows.
bool MatchesMask(std::string_view name, std::string_view mask);

}  // namespace platform
