#include "ui/forms/layout_scale.h"

#include <cmath>
#include <iterator>

namespace {

constexpr double kOriginalCharWidth = 6;
constexpr double kOriginalCharHeight = 13;
constexpr double kLetters = std::size(kAverageWidthLetters) - 1;  // without the terminator

}  // namespace

TLayoutScale::TLayoutScale(double lettersWidth, double lineHeight)
    : x_(lettersWidth / kLetters / kOriginalCharWidth), y_(lineHeight / kOriginalCharHeight) {}

int TLayoutScale::X(int pixels) const {
    return int(std::lround(pixels * x_));
}

int TLayoutScale::Y(int pixels) const {
    return int(std::lround(pixels * y_));
}
