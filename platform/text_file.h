// Reading a whole text file into lines, as the converter takes in a source
// file.
#pragma once

#include <filesystem>
#include <vector>

#include "platform/codepage.h"
#include "platform/file_system.h"

namespace platform {

// Lines end at CR, LF or CRLF; a break at the very end adds no empty line; a
// NUL byte is an ordinary character of its line. Without a byte-order mark the
// bytes are taken as they are (8-bit text); after a UTF-8, UTF-16LE or
// UTF-16BE byte-order mark the text is converted to Windows-1251 (characters
// it cannot hold, and a lone last byte of UTF-16, become '?').
// Throws std::system_error naming the file when it cannot be read.
std::vector<AnsiString> ReadTextLines(const std::filesystem::path& file);
// The same, through a file the caller has opened (and claimed).
std::vector<AnsiString> ReadTextLines(SourceFile& file);

}  // namespace platform
