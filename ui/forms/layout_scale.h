// The layouts' sizes in pixels are those of the original 8-point font, whose
// average character is 6 pixels wide and 13 pixels high. Like dialog units,
// they grow and shrink with the font in use, so that its captions fit as the
// original's did. Each toolkit measures its font; the rule is this one.
#pragma once

// The letters whose average width is the font's, as dialog units take it.
inline constexpr char16_t kAverageWidthLetters[] =
    u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

class TLayoutScale {
  public:
    // The width of kAverageWidthLetters and the height of a line of the
    // font in use, in the screen's pixels.
    TLayoutScale(double lettersWidth, double lineHeight);

    int X(int pixels) const;  // a width or horizontal distance
    int Y(int pixels) const;  // a height or vertical distance

  private:
    double x_;
    double y_;
};
