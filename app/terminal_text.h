// Text that kvadrel-batch prints: file names come from shared folders and
// may hold control characters, which must not act on the operator's terminal.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

// The UTF-8 text with every control character (C0, DEL and C1) written as
// "\xNN" for each of its bytes; everything else as it stands.
std::string TerminalSafe(std::string_view utf8);

// Prints UTF-8 text to `stream` as the console shows it: in the console's
// code page on Windows, unchanged elsewhere.
void ConsolePrint(std::FILE* stream, std::string_view utf8);

// The same, formatted as printf does (on Windows too, by the C runtime's
// standard printf, which the C++ library there selects).
#if defined(__MINGW32__)
__attribute__((format(gnu_printf, 2, 3)))
#elif defined(__GNUC__)
__attribute__((format(printf, 2, 3)))
#endif
void ConsolePrintf(std::FILE* stream, const char* format, ...);
