#include "ui/qt/font_scale.h"

#include <QFontMetricsF>
#include <QString>
#include <cmath>

namespace {

constexpr double kOriginalCharWidth = 6;
constexpr double kOriginalCharHeight = 13;

}  // namespace

TFontScale::TFontScale(const QFont& font) {
    const QFontMetricsF metrics(font);
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    x_ = metrics.horizontalAdvance(letters) / letters.size() / kOriginalCharWidth;
    y_ = metrics.height() / kOriginalCharHeight;
}

int TFontScale::X(int pixels) const {
    return int(std::lround(pixels * x_));
}

int TFontScale::Y(int pixels) const {
    return int(std::lround(pixels * y_));
}
