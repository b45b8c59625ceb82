#include "ui/qt/exception_box.h"

#include <QMessageBox>

#include "ui/forms/exception_text.h"
#include "ui/qt/ansi_text.h"
#include "ui/qt/application_title.h"

QString ExceptionBoxText(const QString& message) {
    return FromU16(ExceptionBoxText(message.toStdU16String()));
}

void ShowExceptionBox(QWidget* parent, const QString& message) {
    QMessageBox::critical(parent, ApplicationTitle(), ExceptionBoxText(message));
}
