#include "ui/win32/led_bar.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/forms/led_segments.h"
#include "ui/win32/last_error.h"

namespace {

constexpr wchar_t kClassName[] = L"KvadrelLedBar";
constexpr int kGap = 2;  // between segments and around them
constexpr int kPercentMax = 100;
const COLORREF kBackground = RGB(0x10, 0x18, 0x10);
const COLORREF kLit = RGB(0x20, 0xe0, 0x40);
const COLORREF kDark = RGB(0x18, 0x40, 0x20);

int PercentOf(HWND bar) {
    return int(::GetWindowLongPtrW(bar, GWLP_USERDATA));
}

void Fill(HDC dc, const RECT& area, COLORREF colour) {
    ::SetBkColor(dc, colour);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
}

void Paint(HWND bar) {
    PAINTSTRUCT paint;
    const HDC dc = ::BeginPaint(bar, &paint);
    RECT area;
    ::GetClientRect(bar, &area);
    ::DrawEdge(dc, &area, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    Fill(dc, area, kBackground);
    ::InflateRect(&area, -kGap, -kGap);
    // Spread the width so the segments end flush with the right edge.
    const int span = area.right - area.left + kGap;
    const int lit = LitSegments(PercentOf(bar));
    for (int i = 0; i < kLedSegments; ++i) {
        const RECT segment{area.left + i * span / kLedSegments, area.top,
                           area.left + (i + 1) * span / kLedSegments - kGap, area.bottom};
        Fill(dc, segment, i < lit ? kLit : kDark);
    }
    ::EndPaint(bar, &paint);
}

LRESULT CALLBACK LedBarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case PBM_SETPOS: {
            const int previous = PercentOf(bar);
            const int taken = std::clamp(int(int16_t(wParam)), 0, kPercentMax);
            if (taken != previous) {
                ::SetWindowLongPtrW(bar, GWLP_USERDATA, taken);
                ::InvalidateRect(bar, nullptr, FALSE);
            }
            return previous;
        }
        case PBM_GETPOS:
            return PercentOf(bar);
        case WM_ERASEBKGND:
            return 1;  // the painting covers it all
        case WM_PAINT:
            Paint(bar);
            return 0;
        default:
            return ::DefWindowProcW(bar, message, wParam, lParam);
    }
}

void RegisterLedBar() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = LedBarProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    if (::RegisterClassExW(&windowClass) == 0 && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        ThrowLastError("cannot register the LED bar");
    }
}

}  // namespace

HWND CreateLedBar(HWND parent, int x, int y, int width, int height) {
    RegisterLedBar();
    const HWND bar =
        ::CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE, x, y, width, height, parent,
                          nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (bar == nullptr) {
        ThrowLastError("cannot make the LED bar");
    }
    return bar;
}

void TBarProgress::SetPercent(int16_t percent) {
    ::SendMessageW(bar_, PBM_SETPOS, WPARAM(uint16_t(percent)), 0);
    ::UpdateWindow(bar_);
}
