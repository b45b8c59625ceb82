// The application's standard exception box: the message, with a full stop
// appended when its last character sorts after '.', under the application's
// title, with an error icon and an OK button.
#pragma once

#include <QString>

class QWidget;

QString ExceptionBoxText(const QString& message);

// Shows the box modally and returns when the operator has closed it.
void ShowExceptionBox(QWidget* parent, const QString& message);
