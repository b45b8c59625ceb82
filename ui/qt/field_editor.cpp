#include "ui/qt/field_editor.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <stdexcept>

#include "ui/qt/ansi_text.h"
#include "ui/qt/dialog_frame.h"
#include "ui/qt/font_scale.h"
#include "ui/qt/spin_edit.h"

namespace {

TSpinEdit* NewSpinEdit(QWidget* parent, const char* name, TFieldNumber which) {
    const TNumberRange range = TFieldForm::RangeOf(which);
    auto* edit = new TSpinEdit(range.Minimum, range.Maximum, parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

}  // namespace

TfmField::TfmField(TDF& field, QWidget* owner, const TDD* type)
    : QDialog(owner, kTitleOnlyDialogFlags), form_(*this, field, type) {
    setWindowTitle(QStringLiteral(u"Поле"));
    const TFontScale scale(font());
    auto* rows = new QGridLayout(this);
    rows->setColumnMinimumWidth(0, scale.X(kCaptionWidth));
    rows->setColumnStretch(1, 1);

    edName = new QLineEdit(this);
    edName->setObjectName(QStringLiteral("edName"));
    lbNameHint = NewHintLabel(this, "lbNameHint");
    seSize = NewSpinEdit(this, "seSize", TFieldNumber::Size);
    seCode = NewSpinEdit(this, "seCode", TFieldNumber::Code);
    seACode = NewSpinEdit(this, "seACode", TFieldNumber::ACode);
    lbCode = new QLabel(this);
    lbCode->setObjectName(QStringLiteral("lbCode"));
    lbAddCode = new QLabel(QStringLiteral(u"Альтернативный шифр поля"), this);
    lbAddCode->setObjectName(QStringLiteral("lbAddCode"));

    rows->addWidget(new QLabel(QStringLiteral(u"Имя поля"), this), 0, 0);
    rows->addWidget(edName, 0, 1);
    rows->addWidget(lbNameHint, 1, 0, 1, 2);
    rows->addWidget(new QLabel(QStringLiteral(u"Размер поля"), this), 2, 0);
    rows->addWidget(seSize, 2, 1);
    rows->addWidget(lbCode, 3, 0);
    rows->addWidget(seCode, 3, 1);
    rows->addWidget(lbAddCode, 4, 0);
    rows->addWidget(seACode, 4, 1);
    rows->setRowStretch(5, 1);

    auto* buttons = NewOkCancelBar(this, btOk, btCancel);
    rows->addWidget(buttons, 6, 0, 1, 2);
    connect(btOk, &QPushButton::clicked, this, [this] { form_.ButtonsClickOk(); });
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(edName, &QLineEdit::textChanged, this, [this] { form_.edNameChange(); });
    connect(seCode, &QSpinBox::valueChanged, this,
            [this](int value) { form_.seCodeChange(value); });

    form_.Open();
    resize(scale.Size(360, 170));
}

std::u16string TfmField::NameText() const {
    return edName->text().toStdU16String();
}

void TfmField::SetNameText(std::u16string_view text) {
    edName->setText(FromU16(text));
}

void TfmField::ShowNameHint(std::u16string_view text) {
    ShowHint(lbNameHint, FromU16(text));
}

QSpinBox* TfmField::SpinEdit(TFieldNumber which) const {
    switch (which) {
        case TFieldNumber::Size:
            return seSize;
        case TFieldNumber::Code:
            return seCode;
        case TFieldNumber::ACode:
            return seACode;
    }
    throw std::invalid_argument("no such spin edit in the field editor");
}

int TfmField::Number(TFieldNumber which) const {
    return SpinEdit(which)->value();
}

void TfmField::SetNumber(TFieldNumber which, int value) {
    SpinEdit(which)->setValue(value);
}

void TfmField::SetCodeCaption(std::u16string_view text) {
    lbCode->setText(FromU16(text));
}

void TfmField::EnableOk(bool enabled) {
    btOk->setEnabled(enabled);
}
