// The layouts' sizes in pixels are those of the original 8-point font, whose
// average character is 6 pixels wide and 13 pixels high. Like dialog units,
// they grow and shrink with the font in use, so that its captions fit as the
// original's did.
#pragma once

#include <QSize>

class QFont;

class TFontScale {
  public:
    // The average width is that of the Latin letters, as dialog units take it.
    explicit TFontScale(const QFont& font);

    int X(int pixels) const;  // a width or horizontal distance
    int Y(int pixels) const;  // a height or vertical distance
    QSize Size(int width, int height) const { return {X(width), Y(height)}; }

  private:
    double x_;
    double y_;
};
