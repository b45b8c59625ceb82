// The main window's status pane as the worker reports to it.
#pragma once

#include <windows.h>

#include "engine/status_view.h"

// Shows a text of the engine's (Windows-1251) in a static control, at once.
class TPaneStatus final : public TStatusPane {
  public:
    explicit TPaneStatus(HWND pane) : pane_(pane) {}
    void SetCaption(const AnsiString& text) override;

  private:
    HWND pane_;
};

// Shows a UTF-16 text in the pane and paints it before returning: the window
// may wait for the worker next.
void ShowPaneText(HWND pane, const wchar_t* text);
