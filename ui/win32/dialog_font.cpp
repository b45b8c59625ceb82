#include "ui/win32/dialog_font.h"
#include "ui/win32/last_error.h"

#include <iterator>

namespace {

HFONT MessageFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        ThrowLastError("cannot learn the system's dialog font");
    }
    const HFONT font = ::CreateFontIndirectW(&metrics.lfMessageFont);
    if (font == nullptr) {
        ThrowLastError("cannot make the system's dialog font");
    }
    return font;
}

TLayoutScale Measure(HFONT font) {
    const HDC dc = ::GetDC(nullptr);
    const HGDIOBJ old = ::SelectObject(dc, font);
    SIZE letters{};
    TEXTMETRICW text{};
    const bool measured =
        ::GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(kAverageWidthLetters),
                                int(std::size(kAverageWidthLetters) - 1), &letters) &&
        ::GetTextMetricsW(dc, &text);
    ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    if (!measured) {
        ThrowLastError("cannot measure the system's dialog font");
    }
    return TLayoutScale(letters.cx, text.tmHeight);
}

BOOL CALLBACK ApplyToChild(HWND child, LPARAM font) {
    ::SendMessageW(child, WM_SETFONT, WPARAM(font), FALSE);
    return TRUE;
}

}  // namespace

TDialogFont::TDialogFont() : font_(MessageFont()), scale_(1, 1) {
    try {
        scale_ = Measure(font_);
    } catch (...) {
        ::DeleteObject(font_);
        throw;
    }
}

TDialogFont::~TDialogFont() {
    ::DeleteObject(font_);
}

void TDialogFont::Apply(HWND window) const {
    ::SendMessageW(window, WM_SETFONT, WPARAM(font_), FALSE);
    ::EnumChildWindows(window, ApplyToChild, LPARAM(font_));
}
