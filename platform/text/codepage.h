// Conversions between the 8-bit Windows-1251 text the engine works on and
// UTF-16 / UTF-8. A character Windows-1251 cannot hold becomes "?".
#pragma once

#include <string>
#include <string_view>

// 8-bit text in Windows-1251.
using AnsiString = std::string;

namespace platform {

std::u16string Cp1251ToUtf16(std::string_view text);
AnsiString Utf16ToCp1251(std::u16string_view text);

std::string Cp1251ToUtf8(std::string_view text);
AnsiString Utf8ToCp1251(std::string_view text);

// Invalid UTF-8 sequences become U+FFFD; unpaired surrogates likewise.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

// Upper case of one Windows-1251 byte: Latin and Cyrillic letters (Ё, Ў, Є,
// Ї, І, Ґ and the Serbian/Macedonian letters included); other bytes unchanged.
char UpperCase1251(char c);
// The same for each byte of `text`.
AnsiString UpperCase1251(std::string_view text);

}  // namespace platform
