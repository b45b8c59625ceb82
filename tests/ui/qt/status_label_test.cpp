#include "ui/qt/status_label.h"

#include <gtest/gtest.h>

#include <QFontMetrics>

#include "tests/ui/qt/test_text.h"

namespace {

TEST(ElideStatus, KeepsTheFirstWordAndTheEndOfTheRest) {
    const QFontMetrics metrics(QFont{});
    const QString step = u"Декодирование "_s;
    const QString name = u"очень_длинное_имя_файла_обновления_2024_12_10.txt"_s;
    const int whole = metrics.horizontalAdvance(step + name);
    const int stepWidth = metrics.horizontalAdvance(step);
    const struct {
        int width;
        bool stepWhole;
    } cases[] = {
        {whole, true}, {whole * 3 / 4, true}, {stepWidth + 40, true}, {stepWidth / 2, false}};
    for (const auto& c : cases) {
        const QString shown = ElideStatus(step + name, metrics, c.width);
        EXPECT_LE(metrics.horizontalAdvance(shown), c.width) << shown.toStdString();
        if (c.width >= whole) {
            EXPECT_EQ(shown, step + name);
        } else if (c.stepWhole) {
            EXPECT_TRUE(shown.startsWith(step)) << shown.toStdString();
            EXPECT_TRUE(shown.endsWith(u"t"_s)) << shown.toStdString();
            EXPECT_TRUE(shown.contains(u'…')) << shown.toStdString();
        } else {
            EXPECT_FALSE(shown.startsWith(step)) << shown.toStdString();
        }
    }
}

TEST(ElideStatus, TextWithoutABlankIsShortenedInTheMiddle) {
    const QFontMetrics metrics(QFont{});
    const QString name = u"очень_длинное_имя_файла_обновления.txt"_s;
    const QString shown = ElideStatus(name, metrics, metrics.horizontalAdvance(name) / 2);
    EXPECT_TRUE(shown.startsWith(u"оч"_s)) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(u".txt"_s)) << shown.toStdString();
}

}  // namespace
