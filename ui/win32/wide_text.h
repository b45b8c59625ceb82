// The window's texts: UTF-16 as the forms give them, as wchar_t for the
// Win32 calls (the same 16-bit units on Windows).
#pragma once

#include <string>
#include <string_view>

inline std::wstring Wide(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}

inline std::u16string FromWide(std::wstring_view text) {
    return std::u16string(text.begin(), text.end());
}
