#include "ui/qt/font_scale.h"

#include <QFontMetricsF>
#include <QString>

namespace {

TLayoutScale ScaleOf(const QFont& font) {
    const QFontMetricsF metrics(font);
    return TLayoutScale(metrics.horizontalAdvance(QString::fromUtf16(kAverageWidthLetters)),
                        metrics.height());
}

}  // namespace

TFontScale::TFontScale(const QFont& font) : scale_(ScaleOf(font)) {}
