// The LED-style progress bar of the main window: a row of segments that light
// up from the left as the percentage grows, with no text.
#pragma once

#include <QFrame>
#include <QRect>
#include <cstdint>

// Segments lit for a percentage (taken within 0..100): a segment lights only
// once its whole share of the range is reached, so 100 % lights them all and
// anything below 100 / 12 % lights none.
int LitSegments(int percent);

class TLedBar : public QFrame {
    Q_OBJECT

  public:
    static constexpr int kSegments = 12;

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
