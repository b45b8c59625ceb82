// Reading a whole text file into lines, as the converter takes in a source
// file: the bytes are read, then cut into lines where they lie.
#pragma once

#include <filesystem>
#include <string>

#include "platform/files/file_system.h"
#include "platform/text/line_list.h"

namespace platform {

// Cuts text into lines at CR, LF and CRLF; a break at the very end adds no
// empty line, and a NUL byte is an ordinary character of its line. Without a
// byte-order mark the bytes are taken as they are (8-bit text); after a
// UTF-8, UTF-16LE or UTF-16BE byte-order mark the text is converted to
// Windows-1251 (characters it cannot hold, and a lone last byte of UTF-16,
// become '?'). The lines are cut and converted inside `bytes`, which the list
// then keeps: no copy of the text is made. Throws std::length_error for more
// text than a LineList holds.
LineList SplitTextLines(std::string bytes);

// The lines of a file, as SplitTextLines cuts them. Throws std::system_error
// naming the file when it cannot be read.
LineList ReadTextLines(const std::filesystem::path& file);
// The same, through a file the caller has opened (and claimed).
LineList ReadTextLines(SourceFile& file);

}  // namespace platform
