#include "ui/qt/worker_view.h"

#include <QThread>
#include <stdexcept>

#include "ui/qt/ansi_text.h"

namespace {

void RequireWidgetThread(const QWidget& widget) {
    if (QThread::currentThread() != widget.thread()) {
        throw std::logic_error("the worker's status was shown outside the window's thread");
    }
}

}  // namespace

void TPaneStatus::SetCaption(const AnsiString& text) {
    RequireWidgetThread(pane_);
    pane_.setText(FromAnsi(text));
}

void TBarProgress::SetPercent(int16_t percent) {
    RequireWidgetThread(bar_);
    bar_.setPercent(percent);
}
