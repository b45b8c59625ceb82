#include "ui/qt/led_bar.h"

#include <gtest/gtest.h>

#include <QImage>

namespace {

TEST(LitSegments, ASegmentLightsOnceItsWholeShareIsReached) {
    const struct {
        int percent;
        int lit;
    } cases[] = {{0, 0},  {8, 0},   {9, 1},    {16, 1}, {17, 2},  {50, 6},
                 {60, 7}, {99, 11}, {100, 12}, {-5, 0}, {150, 12}};
    for (const auto& c : cases) {
        EXPECT_EQ(LitSegments(c.percent), c.lit) << c.percent << " %";
    }
}

// The colour in the middle of each segment of the drawn bar.
std::vector<QRgb> SegmentColours(TLedBar& bar) {
    const QImage image = bar.grab().toImage();
    std::vector<QRgb> colours;
    for (int i = 0; i < TLedBar::kSegments; ++i) {
        colours.push_back(image.pixel(bar.segmentRect(i).center()));
    }
    return colours;
}

TEST(TLedBar, DrawsTheLitSegmentsFromTheLeft) {
    TLedBar bar;
    bar.resize(379, 30);
    const auto dark = SegmentColours(bar);
    for (int i = 1; i < TLedBar::kSegments; ++i) {
        EXPECT_EQ(dark[i], dark[0]) << "segment " << i;
    }
    for (const int percent : {25, 100}) {
        bar.setPercent(int16_t(percent));
        const auto colours = SegmentColours(bar);
        const int lit = LitSegments(percent);
        for (int i = 0; i < TLedBar::kSegments; ++i) {
            if (i < lit) {
                EXPECT_NE(colours[i], dark[0]) << percent << " %, segment " << i;
                EXPECT_EQ(colours[i], colours[0]) << percent << " %, segment " << i;
            } else {
                EXPECT_EQ(colours[i], dark[0]) << percent << " %, segment " << i;
            }
        }
    }
}

TEST(TLedBar, SegmentsAreEqualSeparateAndInsideTheBar) {
    TLedBar bar;
    bar.resize(379, 30);
    const QRect inside = bar.contentsRect();
    int previousRight = inside.left();
    for (int i = 0; i < TLedBar::kSegments; ++i) {
        const QRect segment = bar.segmentRect(i);
        EXPECT_TRUE(inside.contains(segment)) << i;
        EXPECT_GT(segment.left(), previousRight) << i;  // a gap before each
        EXPECT_LE(std::abs(segment.width() - bar.segmentRect(0).width()), 1) << i;
        previousRight = segment.right();
    }
    EXPECT_GE(inside.right() - previousRight, 1);
}

TEST(TLedBar, TakesThePercentageWithinTheRange) {
    TLedBar bar;
    bar.setPercent(-1);
    EXPECT_EQ(bar.percent(), 0);
    bar.setPercent(101);
    EXPECT_EQ(bar.percent(), 100);
    bar.setPercent(42);
    EXPECT_EQ(bar.percent(), 42);
}

}  // namespace
