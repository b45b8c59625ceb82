#include "ui/qt/dialog_frame.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPalette>
#include <QPushButton>

QDialogButtonBox* NewOkCancelBar(QWidget* parent, QPushButton*& ok, QPushButton*& cancel) {
    auto* bar = new QDialogButtonBox(parent);
    ok = bar->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("btOk"));
    ok->setDefault(true);
    cancel = bar->addButton(QStringLiteral(u"Отмена"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("btCancel"));
    return bar;
}

QLabel* NewHintLabel(QWidget* parent, const char* name) {
    auto* hint = new QLabel(parent);
    hint->setObjectName(QString::fromLatin1(name));
    QPalette palette = hint->palette();
    palette.setColor(QPalette::WindowText, Qt::darkRed);
    hint->setPalette(palette);
    hint->hide();
    return hint;
}

void ShowHint(QLabel* hint, const QString& text) {
    hint->setText(text);
    hint->setVisible(!text.isEmpty());
}
