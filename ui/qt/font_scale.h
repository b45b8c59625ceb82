// The layouts' sizes in pixels (ui/forms/layout_scale.h) for a Qt font.
#pragma once

#include <QSize>

#include "ui/forms/layout_scale.h"

class QFont;

class TFontScale {
  public:
    explicit TFontScale(const QFont& font);

    int X(int pixels) const { return scale_.X(pixels); }  // a width or horizontal distance
    int Y(int pixels) const { return scale_.Y(pixels); }  // a height or vertical distance
    QSize Size(int width, int height) const { return {X(width), Y(height)}; }

  private:
    TLayoutScale scale_;
};
