#include "ui/qt/exception_box.h"

#include <QMessageBox>

#include "ui/qt/application_title.h"

QString ExceptionBoxText(const QString& message) {
    if (!message.isEmpty() && message.back() > QChar(u'.')) {
        return message + u'.';
    }
    return message;
}

void ShowExceptionBox(QWidget* parent, const QString& message) {
    QMessageBox::critical(parent, ApplicationTitle(), ExceptionBoxText(message));
}
