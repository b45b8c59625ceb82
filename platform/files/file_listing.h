// Listing the files of a directory that match a mask, as the converter picks
// up its source files.
#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

#include "platform/files/file_system.h"
#include "platform/text/codepage.h"

namespace platform {

// The prefix of the name a source file is given while the converter works on
// it (a hidden name, which no mask ever takes as a source itself).
inline constexpr std::string_view kClaimPrefix = ".kvadrel-claimed.";

struct ListedFile {
    // The name in Windows-1251, the one the mask matched: a UTF-8 name
    // converted, a name that is no UTF-8 taken by its bytes (an 8-bit name).
    AnsiString Name;
    // The entry as it is in the folder (for a claimed file, its claimed name).
    std::filesystem::path Entry;
    // False for a UTF-8 name with characters Windows-1251 cannot hold; Name
    // then has '?' in their place.
    bool NameFits = true;
    // The entry is kClaimPrefix + Name: a file the converter had claimed and
    // not finished with (a stopped or killed run).
    bool Claimed = false;
};

// The files of `pattern`, a directory ending in '/' followed by a mask
// (MatchesMask), such as "/srv/in/*.txt"; a pattern without '/' lists the
// current directory. They come in ascending order of their names compared
// ignoring case, as Windows lists them, a claimed file before an unclaimed
// one of the same name (it is the older delivery).
//
// Only regular files are listed. Names starting with '.' are hidden and never
// listed, claimed names aside. Directories, devices, sockets, FIFOs and
// symbolic links (to anything) are never listed: the converter reads and then
// deletes what it lists, and it must only ever consume files that were
// delivered into the directory itself, not data a link points at elsewhere.
//
// A missing directory (or a path that is not a directory) gives an empty
// list. Other failures to read the directory throw std::system_error.
std::vector<ListedFile> FindFiles(const AnsiString& pattern,
                                  FileSystem& files = SystemFileSystem());

// The folder part of a pattern for FindFiles.
std::filesystem::path PatternFolder(const AnsiString& pattern);

}  // namespace platform
