// The main window's status pane: a label whose text, when too long for it,
// keeps its first word (the step, such as "Декодирование") and the end of the
// rest (the end of the file name), leaving out the middle.
#pragma once

#include <QLabel>

class QFontMetrics;

// The text as it fits into `width`: whole when it fits, else its first word
// and the rest shortened in the middle.
QString ElideStatus(const QString& text, const QFontMetrics& metrics, int width);

class TStatusLabel : public QLabel {
    Q_OBJECT
  public:
    explicit TStatusLabel(QWidget* parent = nullptr);

    // However long the text, the pane does not ask for more room.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // The text as the pane shows it now.
    QString shownText() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
};
