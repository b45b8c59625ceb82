// Where the worker shows what it does: the window's status pane and LED bar,
// or the batch tool's terminal. Both are only touched on the main thread.
#pragma once

#include <cstdint>

#include "platform/text/codepage.h"

class TStatusPane {
  public:
    virtual ~TStatusPane() = default;
    virtual void SetCaption(const AnsiString& text) = 0;
};

class TProgressBar {
  public:
    virtual ~TProgressBar() = default;
    virtual void SetPercent(int16_t percent) = 0;
};
