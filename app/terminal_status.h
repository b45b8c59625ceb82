// The batch tool's view of the worker: a one-line progress bar on standard
// error when that is a terminal, nothing otherwise.
#pragma once

#include <string>

#include "engine/status_view.h"

class TerminalStatus : public TStatusPane, public TProgressBar {
  public:
    explicit TerminalStatus(bool enabled);
    ~TerminalStatus() override;

    void SetCaption(const AnsiString& text) override;
    void SetPercent(int16_t percent) override;

    // Clears the progress line so that a message can be written.
    void Clear();

  private:
    void Draw();

    bool enabled_;
    std::string caption_;  // UTF-8
    int percent_ = 0;
    bool drawn_ = false;
};
