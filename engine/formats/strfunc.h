// The 8-bit string rules the transport formats rely on, on Windows-1251 text.
// Positions count from 1; bytes compare as unsigned values.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

#include "platform/text/codepage.h"

// Whether `text` begins with `pattern`; never for an empty pattern.
bool StartsWith(std::string_view text, std::string_view pattern);

// Up to `count` bytes of `text` from position `start`. A start below 1 counts
// as 1; the result is empty when the start lies beyond the end or the count
// is below 1; the count is clipped at the end of the text. The result views
// `text`.
std::string_view Copy(std::string_view text, std::ptrdiff_t start, std::ptrdiff_t count);

// `text` without the leading and trailing bytes of code 32 or less (blanks and
// control characters). The result views `text`. Inline: it runs for every
// value of every row.
inline std::string_view Trim(std::string_view text) {
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    size_t first = 0;
    size_t last = text.size();
    while (first < last && blank(text[first])) {
        ++first;
    }
    while (last > first && blank(text[last - 1])) {
        --last;
    }
    return text.substr(first, last - first);
}

// Equality of two texts without regard to the case of Latin and Cyrillic
// letters (Ё and ё included).
bool SameText(std::string_view a, std::string_view b);

// Cuts `text` into items at `delimiter` and at line breaks (CR, LF or CRLF;
// a break at the very end adds no item; a NUL byte ends the text), trims every
// item and puts them in place of the list's contents. An empty text leaves the
// list as it was. Returns the text with every delimiter replaced by LF.
AnsiString SplitText(std::string_view text, std::vector<AnsiString>& list, char delimiter);

// Converts the Cyrillic letters of a line from DOS code page 866 to
// Windows-1251: 0xE0..0xEF (р..я) gain 0x10, then 0x80..0xAF (А..Я, а..п) gain
// 0x40, so no byte is shifted twice. Every other byte stays, DOS Ё and ё
// (0xF0, 0xF1) included. The line is converted in place.
void DosToWin(std::span<char> line);
