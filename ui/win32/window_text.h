// The text of a window or control, as the forms take it.
#pragma once

#include <windows.h>

#include <string>

#include "ui/win32/wide_text.h"

inline std::u16string WindowText(HWND window) {
    std::wstring text(size_t(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(size_t(::GetWindowTextW(window, text.data(), int(text.size()))));
    return FromWide(text);
}
