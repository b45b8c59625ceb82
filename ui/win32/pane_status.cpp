#include "ui/win32/pane_status.h"

#include "ui/win32/wide_text.h"

void TPaneStatus::SetCaption(const AnsiString& text) {
    ShowPaneText(pane_, Wide(platform::Cp1251ToUtf16(text)).c_str());
}

void ShowPaneText(HWND pane, const wchar_t* text) {
    ::SetWindowTextW(pane, text);
    ::UpdateWindow(pane);
}
