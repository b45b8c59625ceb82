// The LED-style progress bar of the main window, a control of its own: a row
// of kLedSegments segments (ui/forms/led_segments.h) that light up from the
// left as the percentage grows, with no text. It takes and tells its
// percentage as a progress bar does (PBM_SETPOS, PBM_GETPOS), within 0..100.
#pragma once

#include <windows.h>

#include <cstdint>

#include "engine/status_view.h"

// Makes the bar as a child of `parent`.
HWND CreateLedBar(HWND parent, int x, int y, int width, int height);

// The worker's progress shown in the bar, at once.
class TBarProgress final : public TProgressBar {
  public:
    explicit TBarProgress(HWND bar) : bar_(bar) {}
    void SetPercent(int16_t percent) override;

  private:
    HWND bar_;
};
