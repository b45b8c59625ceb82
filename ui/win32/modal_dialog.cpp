#include "ui/win32/modal_dialog.h"

#include <algorithm>
#include <vector>

#include "ui/win32/last_error.h"
#include "ui/win32/uncaught_error.h"
#include "ui/win32/wide_text.h"

namespace {

// An in-memory dialog template without controls: the style, no menu, the
// system's dialog class and the caption.
std::vector<WORD> EmptyTemplate(DWORD style, std::u16string_view caption) {
    std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD));
    auto* head = reinterpret_cast<DLGTEMPLATE*>(words.data());
    head->style = style;
    words.push_back(0);  // no menu
    words.push_back(0);  // the dialog class
    words.insert(words.end(), caption.begin(), caption.end());
    words.push_back(0);
    return words;
}

void CentreOn(HWND window, HWND owner) {
    RECT frame;
    ::GetWindowRect(window, &frame);
    RECT around;
    if (owner == nullptr || !::GetWindowRect(owner, &around)) {
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &around, 0);
    }
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    // Whole on the screen, also over an owner near its edge.
    RECT screen;
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &screen, 0);
    const int x = std::clamp<int>((around.left + around.right - width) / 2, screen.left,
                                  std::max<int>(screen.left, screen.right - width));
    const int y = std::clamp<int>((around.top + around.bottom - height) / 2, screen.top,
                                  std::max<int>(screen.top, screen.bottom - height));
    ::SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

INT_PTR TModalDialog::Run(HWND owner, std::u16string_view caption, DWORD style, int clientWidth,
                          int clientHeight) {
    owner_ = owner;
    clientWidth_ = clientWidth;
    clientHeight_ = clientHeight;
    const std::vector<WORD> dialogTemplate = EmptyTemplate(style, caption);
    const INT_PTR result = ::DialogBoxIndirectParamW(
        ::GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(dialogTemplate.data()),
        owner, DialogProc, LPARAM(this));
    if (result == -1) {
        ThrowLastError("cannot show a dialog");
    }
    return result;
}

void TModalDialog::Open(HWND dialog) {
    dialog_ = dialog;
    const auto style = DWORD(::GetWindowLongPtrW(dialog, GWL_STYLE));
    const auto extended = DWORD(::GetWindowLongPtrW(dialog, GWL_EXSTYLE));
    RECT frame{0, 0, Scale().X(clientWidth_), Scale().Y(clientHeight_)};
    ::AdjustWindowRectEx(&frame, style, FALSE, extended);
    ::SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CentreOn(dialog, owner_);
    OnOpen();
    font_.Apply(dialog);
}

HWND TModalDialog::AddControl(const wchar_t* className, std::u16string_view text, DWORD style,
                              int x, int y, int width, int height, int id, DWORD extendedStyle) {
    const HWND control = ::CreateWindowExW(
        extendedStyle, className, Wide(text).c_str(), WS_CHILD | WS_VISIBLE | style, Scale().X(x),
        Scale().Y(y), Scale().X(width), Scale().Y(height), dialog_, HMENU(INT_PTR(id)),
        ::GetModuleHandleW(nullptr), nullptr);
    if (control == nullptr) {
        ThrowLastError("cannot make a control of a dialog");
    }
    return control;
}

INT_PTR CALLBACK TModalDialog::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<TModalDialog*>(lParam);
        ::SetWindowLongPtrW(dialog, DWLP_USER, LONG_PTR(self));
        try {
            self->Open(dialog);
        } catch (...) {
            ShowCurrentException(dialog);
            ::EndDialog(dialog, IDCANCEL);
        }
        return TRUE;
    }
    auto* self = reinterpret_cast<TModalDialog*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    if (self == nullptr) {
        return FALSE;
    }
    INT_PTR handled = FALSE;
    RunHandler(dialog, [&] {
        switch (message) {
            case WM_COMMAND:
                self->OnCommand(LOWORD(wParam), HIWORD(wParam));
                handled = TRUE;
                break;
            case WM_NOTIFY: {
                LRESULT result = 0;
                if (self->OnNotify(*reinterpret_cast<const NMHDR*>(lParam), result)) {
                    ::SetWindowLongPtrW(dialog, DWLP_MSGRESULT, result);
                    handled = TRUE;
                }
                break;
            }
            case WM_SIZE:
                self->OnSize(LOWORD(lParam), HIWORD(lParam));
                break;
            default:
                break;
        }
    });
    return handled;
}
