// A modal dialog built in code: an empty dialog whose controls the derived
// class makes when it opens, at the layout's pixels scaled to the dialog font.
// The dialog manager gives it Tab, Enter (IDOK, the default button) and Esc
// (IDCANCEL); the close box sends IDCANCEL too.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "ui/win32/dialog_font.h"

class TModalDialog {
  public:
    virtual ~TModalDialog() = default;

    // Runs the dialog over `owner`, centred on it, with the client area of
    // the layout's size; returns what it ended with (IDOK, IDCANCEL).
    // Throws std::system_error when it cannot be shown.
    INT_PTR Run(HWND owner, std::u16string_view caption, DWORD style, int clientWidth,
                int clientHeight);

  protected:
    TModalDialog() = default;
    TModalDialog(const TModalDialog&) = delete;
    TModalDialog& operator=(const TModalDialog&) = delete;

    // Makes the controls and fills them.
    virtual void OnOpen() = 0;
    // A WM_COMMAND of a control; IDOK and IDCANCEL end nothing by themselves.
    virtual void OnCommand(int id, int code) = 0;
    // A WM_NOTIFY; true when handled, with its result.
    virtual bool OnNotify(const NMHDR& /*header*/, LRESULT& /*result*/) { return false; }
    // The client area got a new size, in the screen's pixels.
    virtual void OnSize(int /*width*/, int /*height*/) {}

    // A control of the class at the layout's pixels; throws when the system
    // cannot make it.
    HWND AddControl(const wchar_t* className, std::u16string_view text, DWORD style, int x, int y,
                    int width, int height, int id = 0, DWORD extendedStyle = 0);
    void End(INT_PTR result) { ::EndDialog(dialog_, result); }

    HWND Dialog() const { return dialog_; }
    const TLayoutScale& Scale() const { return font_.Scale(); }

  private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    void Open(HWND dialog);

    TDialogFont font_;
    HWND dialog_ = nullptr;
    HWND owner_ = nullptr;
    int clientWidth_ = 0;
    int clientHeight_ = 0;
};
