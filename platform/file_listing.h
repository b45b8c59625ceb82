// Listing the files of a directory that match a mask, as the converter picks
// up its source files.
#pragma once

#include <vector>

#include "platform/codepage.h"

namespace platform {

// Names (without the directory, in Windows-1251) of the files matching
// `pattern`, a directory ending in '/' followed by a mask (MatchesMask), such
// as "/srv/in/*.txt"; a pattern without '/' lists the current directory.
// Names come in the order the file system returns them.
//
// Only regular files are listed. Names starting with '.' are hidden and never
// listed. Directories, devices, sockets, FIFOs and symbolic links (to
// anything) are never listed: the converter reads and then deletes what it
// lists, and it must only ever consume files that were delivered into the
// directory itself, not data a link points at elsewhere.
//
// A missing directory (or a path that is not a directory) gives an empty
// list. Other failures to read the directory throw std::system_error.
std::vector<AnsiString> FindFiles(const AnsiString& pattern);

}  // namespace platform
