// The system's dialog font, in which every window of the program writes, and
// the layouts' pixels (ui/forms/layout_scale.h) scaled to it. The system
// gives the font at the screen's DPI, so the scale follows that too.
#pragma once

#include <windows.h>

#include "ui/forms/layout_scale.h"

class TDialogFont {
  public:
    // Throws std::system_error when the system gives no font.
    TDialogFont();
    ~TDialogFont();

    TDialogFont(const TDialogFont&) = delete;
    TDialogFont& operator=(const TDialogFont&) = delete;

    HFONT Font() const { return font_; }
    const TLayoutScale& Scale() const { return scale_; }

    // Gives `window` and every child of it the font.
    void Apply(HWND window) const;

  private:
    HFONT font_;
    TLayoutScale scale_;
};
