// The main window's status pane and LED bar as the worker reports to them.
// The worker calls them through Synchronize, which runs them on the window's
// thread; a call from any other thread is refused with std::logic_error,
// since a widget must not be touched there.
#pragma once

#include <QLabel>

#include "engine/status_view.h"
#include "ui/qt/led_bar.h"

class TPaneStatus final : public TStatusPane {
  public:
    explicit TPaneStatus(QLabel& pane) : pane_(pane) {}
    // Shows the Windows-1251 text.
    void SetCaption(const AnsiString& text) override;

  private:
    QLabel& pane_;
};

class TBarProgress final : public TProgressBar {
  public:
    explicit TBarProgress(TLedBar& bar) : bar_(bar) {}
    void SetPercent(int16_t percent) override;

  private:
    TLedBar& bar_;
};
