#include "ui/qt/status_label.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyle>

QString ElideStatus(const QString& text, const QFontMetrics& metrics, int width) {
    if (metrics.horizontalAdvance(text) <= width) {
        return text;
    }
    const qsizetype blank = text.indexOf(u' ');
    if (blank < 0) {
        return metrics.elidedText(text, Qt::ElideMiddle, width);
    }
    const QString step = text.first(blank + 1);
    const int rest = width - metrics.horizontalAdvance(step);
    if (rest <= 0) {
        return metrics.elidedText(text, Qt::ElideRight, width);
    }
    return step + metrics.elidedText(text.sliced(blank + 1), Qt::ElideMiddle, rest);
}

TStatusLabel::TStatusLabel(QWidget* parent) : QLabel(parent) {}

QSize TStatusLabel::sizeHint() const {
    return minimumSizeHint();
}

QSize TStatusLabel::minimumSizeHint() const {
    return {0, QLabel::minimumSizeHint().height()};
}

QString TStatusLabel::shownText() const {
    return ElideStatus(text(), fontMetrics(), contentsRect().width() - 2 * margin());
}

void TStatusLabel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    drawFrame(&painter);
    const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    style()->drawItemText(&painter, area, int(alignment()), palette(), isEnabled(), shownText(),
                          foregroundRole());
}
