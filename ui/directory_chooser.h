// The directory dialog "Выбор каталога" of the type editor's browse buttons.
#pragma once

#include <QString>

class QWidget;

// Runs the dialog starting at `start`; the confirmed directory, or an empty
// text when the operator cancels.
QString ChooseDirectoryDialog(QWidget* owner, const QString& start);
