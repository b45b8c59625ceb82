#include "ui/qt/field_editor.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "config/transport_format.h"
#include "engine/dbf/dbf_field_name.h"
#include "ui/qt/ansi_text.h"
#include "ui/qt/dialog_frame.h"
#include "ui/qt/font_scale.h"
#include "ui/qt/spin_edit.h"

namespace {

TSpinEdit* NewSpinEdit(QWidget* parent, const char* name, int maximum) {
    auto* edit = new TSpinEdit(1, maximum, parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

// Leading and trailing codes up to the blank, as the system trims its texts.
QString TrimBlanks(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first].unicode() <= u' ') {
        ++first;
    }
    while (last > first && text[last - 1].unicode() <= u' ') {
        --last;
    }
    return text.sliced(first, last - first);
}

QString FieldNameFaultText(dbf::FieldNameFault fault) {
    switch (fault) {
        case dbf::FieldNameFault::Empty:
            return {};  // the OK rule already asks for a name
        case dbf::FieldNameFault::OutsideCodePage:
            return QStringLiteral(u"Имя содержит знаки вне кодировки Windows-1251");
        case dbf::FieldNameFault::TooLong:
            return QStringLiteral(u"Имя поля длиннее 10 знаков");
        case dbf::FieldNameFault::NoLeadingLetter:
            return QStringLiteral(u"Имя поля должно начинаться с буквы");
        case dbf::FieldNameFault::BadCharacter:
            return QStringLiteral(u"В имени поля допустимы только буквы, цифры и «_»");
    }
    return {};
}

}  // namespace

TfmField::TfmField(TDF& field, QWidget* owner, const TDD* type)
    : QDialog(owner, kTitleOnlyDialogFlags), field_(field), type_(type) {
    setWindowTitle(QStringLiteral(u"Поле"));
    const TFontScale scale(font());
    auto* rows = new QGridLayout(this);
    rows->setColumnMinimumWidth(0, scale.X(kCaptionWidth));
    rows->setColumnStretch(1, 1);

    edName = new QLineEdit(this);
    edName->setObjectName(QStringLiteral("edName"));
    lbNameHint = NewHintLabel(this, "lbNameHint");
    seSize = NewSpinEdit(this, "seSize", 255);
    seCode = NewSpinEdit(this, "seCode", 100);
    seACode = NewSpinEdit(this, "seACode", 100);
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
    connect(btOk, &QPushButton::clicked, this, &TfmField::ButtonsClickOk);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(edName, &QLineEdit::textChanged, this, &TfmField::edNameChange);
    connect(seCode, &QSpinBox::valueChanged, this, &TfmField::seCodeChange);

    edName->setText(QString::fromStdU16String(field.Name));
    // The code first: setting it copies it into the alternative code, which
    // then gets its own stored value.
    seSize->setValue(field.Size);
    seCode->setValue(field.Code);
    seACode->setValue(field.ACode);
    edNameChange();
    lbCode->setText(FromU16(TransportFormatOf(field.Key).FieldCodeCaption));
    resize(scale.Size(360, 170));
}

QString TfmField::TrimmedName() const {
    return TrimBlanks(edName->text());
}

QString TfmField::NameProblem(const QString& name) const {
    const std::u16string text = name.toStdU16String();
    if (const auto fault = dbf::CheckFieldName(text)) {
        return FieldNameFaultText(*fault);
    }
    if (type_ != nullptr) {
        const AnsiString stored = dbf::StoredFieldName(text);
        for (const TDF* other = type_->First; other != nullptr; other = other->Next) {
            if (other != &field_ && dbf::StoredFieldName(other->Name) == stored) {
                return QStringLiteral(u"Поле с таким именем уже есть");
            }
        }
    }
    return {};
}

void TfmField::edNameChange() {
    const QString name = TrimmedName();
    const QString problem = NameProblem(name);
    ShowHint(lbNameHint, problem);
    btOk->setEnabled(!name.isEmpty() && problem.isEmpty());
}

void TfmField::seCodeChange(int value) {
    seACode->setValue(value);
}

void TfmField::ButtonsClickOk() {
    field_.Name = TrimmedName().toStdU16String();
    field_.Size = seSize->value();
    field_.Code = seCode->value();
    field_.ACode = seACode->value();
    accept();
}
