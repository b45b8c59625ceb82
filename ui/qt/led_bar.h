// The LED-style progress bar of the main window: a row of segments that light
// up from the left as the percentage grows, with no text.
#pragma once

#include <QFrame>
#include <QRect>
#include <cstdint>

#include "ui/forms/led_segments.h"

class TLedBar : public QFrame {
    Q_OBJECT

  public:
    static constexpr int kSegments = kLedSegments;

    explicit TLedBar(QWidget* parent = nullptr);

    // Takes the percentage within 0..100.
    void setPercent(int16_t percent);
    int16_t percent() const { return percent_; }

    // Where segment `index` (0 the leftmost) is drawn.
    QRect segmentRect(int index) const;

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int16_t percent_ = 0;
};
