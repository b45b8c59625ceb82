#include "ui/qt/led_bar.h"

#include <QPainter>
#include <algorithm>

namespace {

constexpr int kGap = 2;  // between segments and around them
constexpr int kPercentMax = 100;
const QColor kBackground(0x10, 0x18, 0x10);
const QColor kLit(0x20, 0xe0, 0x40);
const QColor kDark(0x18, 0x40, 0x20);

}  // namespace

TLedBar::TLedBar(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
}

void TLedBar::setPercent(int16_t percent) {
    const auto taken = int16_t(std::clamp<int>(percent, 0, kPercentMax));
    if (taken == percent_) {
        return;
    }
    percent_ = taken;
    update();
}

QRect TLedBar::segmentRect(int index) const {
    const QRect area = contentsRect().adjusted(kGap, kGap, -kGap, -kGap);
    // Spread the width so the segments end flush with the right edge.
    const int span = area.width() + kGap;
    const int left = area.left() + index * span / kSegments;
    const int right = area.left() + (index + 1) * span / kSegments - kGap;
    return QRect(QPoint(left, area.top()), QPoint(right - 1, area.bottom()));
}

QSize TLedBar::sizeHint() const {
    return QSize(379, 30);
}

void TLedBar::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.fillRect(contentsRect(), kBackground);
    const int lit = LitSegments(percent_);
    for (int i = 0; i < kSegments; ++i) {
        painter.fillRect(segmentRect(i), i < lit ? kLit : kDark);
    }
}
