#include "ui/exception_box.h"

#include <QApplication>
#include <QMessageBox>

QString ExceptionBoxText(const QString& message) {
    if (!message.isEmpty() && message.back() > QChar(u'.')) {
        return message + u'.';
    }
    return message;
}

void ShowExceptionBox(QWidget* parent, const QString& message) {
    QMessageBox::critical(parent, QApplication::applicationDisplayName(),
                          ExceptionBoxText(message));
}
