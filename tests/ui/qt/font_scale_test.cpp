#include "ui/qt/font_scale.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetricsF>

namespace {

// The original font's sizes follow the average width and the height of the
// font in use, as dialog units do.
TEST(FontScale, SizesFollowTheFontsAverageWidthAndHeight) {
    for (int pixels : {10, 13, 20, 40}) {
        QFont font;
        font.setPixelSize(pixels);
        const QFontMetricsF metrics(font);
        const double average = metrics.horizontalAdvance(QStringLiteral(
                                   "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
                               52;
        const TFontScale scale(font);
        EXPECT_NEAR(scale.X(600), 600 * average / 6, 0.5) << pixels;
        EXPECT_NEAR(scale.Y(1300), 100 * metrics.height(), 0.5) << pixels;
        EXPECT_EQ(scale.Size(600, 1300), QSize(scale.X(600), scale.Y(1300)));
    }
}

TEST(FontScale, ALargerFontGivesLargerSizes) {
    QFont small;
    small.setPixelSize(11);
    QFont large = small;
    large.setPixelSize(22);
    const TFontScale from(small);
    const TFontScale to(large);
    EXPECT_GT(to.X(385), from.X(385) * 3 / 2);
    EXPECT_GT(to.Y(90), from.Y(90) * 3 / 2);
}

}  // namespace
