#include "ui/directory_chooser.h"

#include <QFileDialog>

QString ChooseDirectoryDialog(QWidget* owner, const QString& start) {
    QFileDialog dialog(owner, QStringLiteral(u"Выбор каталога"), start);
    dialog.setFileMode(QFileDialog::Directory);
    // The toolkit's own dialog, so that the captions below are the ones shown.
    dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral(u"Имя каталога"));
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral(u"Каталоги"));
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("OK"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral(u"Отмена"));
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    return dialog.selectedFiles().value(0);
}
