#include "ui/qt/type_editor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <stdexcept>
#include <vector>

#include "config/transport_format.h"
#include "ui/qt/ansi_text.h"
#include "ui/qt/dialog_frame.h"
#include "ui/qt/directory_dialog.h"
#include "ui/qt/field_editor.h"
#include "ui/qt/font_scale.h"
#include "ui/qt/list_tool_bar.h"

namespace {

enum Column { kNameColumn, kSizeColumn, kCodeColumn, kACodeColumn };
const QColor kNumberColour(0, 0, 128);  // navy

QLineEdit* NewLineEdit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

// A caption with its control under it, across the full width.
void AddTwoLineRow(QVBoxLayout* rows, const char16_t* caption, QWidget* control) {
    rows->addWidget(new QLabel(QString::fromUtf16(caption), rows->parentWidget()));
    rows->addWidget(control);
}

// A caption with its control on the same line; AlignOneLineRows sets where
// the controls start.
QWidget* AddOneLineRow(QVBoxLayout* rows, std::vector<QLabel*>& captions, const char16_t* caption,
                       QWidget* control) {
    auto* row = new QWidget(rows->parentWidget());
    auto* line = new QHBoxLayout(row);
    line->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(QString::fromUtf16(caption), row);
    captions.push_back(label);
    line->addWidget(label);
    control->setParent(row);
    line->addWidget(control, 1);
    rows->addWidget(row);
    return row;
}

// The controls start `captionWidth` in, or further when the font needs more
// room for a whole caption.
void AlignOneLineRows(const std::vector<QLabel*>& captions, int captionWidth) {
    int width = captionWidth;
    for (const QLabel* caption : captions) {
        width = std::max(width, caption->sizeHint().width());
    }
    for (QLabel* caption : captions) {
        caption->setFixedWidth(width);
    }
}

// An edit box with its browse button.
QWidget* NewBrowseBox(QWidget* parent, const char* name, QLineEdit*& edit, QToolButton*& button) {
    auto* box = new QWidget(parent);
    auto* line = new QHBoxLayout(box);
    line->setContentsMargins(0, 0, 0, 0);
    edit = NewLineEdit(box, name);
    button = new QToolButton(box);
    button->setObjectName(QString::fromLatin1(name) + QStringLiteral("Button"));
    button->setText(QStringLiteral("..."));
    line->addWidget(edit, 1);
    line->addWidget(button);
    return box;
}

QComboBox* NewRoleBox(const char* name) {
    auto* box = new QComboBox;
    box->setObjectName(QString::fromLatin1(name));
    box->setEditable(true);
    // The drop-down list holds the field names only, never what was typed.
    box->setInsertPolicy(QComboBox::NoInsert);
    return box;
}

// Sets a column's fixed width: `width`, or more where the column's caption, or
// one of the other captions it may get, needs it.
void FixColumnWidth(QTreeWidget* list, int column, int width, const QStringList& otherCaptions) {
    QHeaderView* header = list->header();
    QTreeWidgetItem* captions = list->headerItem();
    const QString caption = captions->text(column);
    width = std::max(width, header->sectionSizeHint(column));
    for (const QString& other : otherCaptions) {
        captions->setText(column, other);
        width = std::max(width, header->sectionSizeHint(column));
    }
    captions->setText(column, caption);
    header->resizeSection(column, width);
}

void ShowRow(QTreeWidgetItem* row, const TFieldRow& shown) {
    row->setText(kNameColumn, FromU16(shown.Name));
    row->setText(kSizeColumn, FromU16(shown.Size));
    row->setText(kCodeColumn, FromU16(shown.Code));
    row->setText(kACodeColumn, FromU16(shown.ACode));
}

}  // namespace

TfmRegEdit::TfmRegEdit(TDD& type, QWidget* owner, const TDL* list)
    : QDialog(owner, kTitleOnlyDialogFlags), form_(*this, type, list) {
    setWindowTitle(QStringLiteral(u"Региональное обновление"));
    EditField = [this, &type](TDF& field) {
        TfmField editor(field, this, &type);
        return editor.exec() == QDialog::Accepted;
    };
    ChooseDirectory = [this](const QString& start) { return ChooseDirectoryDialog(this, start); };

    auto* halves = new QHBoxLayout;
    halves->addWidget(NewSettingsHalf(), 1);
    halves->addWidget(NewFieldsHalf(), 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(halves, 1);
    layout->addWidget(NewOkCancelBar(this, btOk, btCancel));

    form_.Open();
    for (QLineEdit* edit : {edName, edFrom, edMask, edIdent, edTo}) {
        connect(edit, &QLineEdit::textChanged, this, [this] { form_.edNameChange(); });
    }
    connect(cbCodec, &QComboBox::currentIndexChanged, this, [this] { form_.cbCodecChange(); });
    connect(cbSpecProd, &QCheckBox::toggled, this, [this] { form_.cbSpecProdClick(); });
    connect(List, &QTreeWidget::itemSelectionChanged, this, [this] { form_.ListSelectItem(); });
    // A double click selects its row first, so it changes that row's field.
    connect(List, &QTreeWidget::itemDoubleClicked, this, [this] { form_.ListDblClick(); });
    connect(sbAdd, &QToolButton::clicked, this, [this] { form_.sbAddClick(); });
    connect(sbSet, &QToolButton::clicked, this, [this] { form_.sbSetClick(); });
    connect(sbDel, &QToolButton::clicked, this, [this] { form_.sbDelClick(); });
    connect(edFromButton, &QToolButton::clicked, this, [this] { form_.edFromButtonClick(); });
    connect(edToButton, &QToolButton::clicked, this, [this] { form_.edToButtonClick(); });
    connect(btOk, &QPushButton::clicked, this, [this] { form_.ButtonsClickOk(); });
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
    resize(TFontScale(font()).Size(800, 490));
}

QWidget* TfmRegEdit::NewSettingsHalf() {
    auto* half = new QWidget(this);
    auto* rows = new QVBoxLayout(half);
    rows->setContentsMargins(0, 0, 0, 0);
    std::vector<QLabel*> captions;

    edName = NewLineEdit(half, "edName");
    AddTwoLineRow(rows, u"Описание", edName);
    lbNameHint = NewHintLabel(half, "lbNameHint");
    rows->addWidget(lbNameHint);
    AddTwoLineRow(rows, u"Каталог исходных обновлений",
                  NewBrowseBox(half, "edFrom", edFrom, edFromButton));
    cbCodec = new QComboBox(half);
    cbCodec->setObjectName(QStringLiteral("cbCodec"));
    for (const TTransportFormat& format : TransportFormats()) {
        cbCodec->addItem(FromU16(format.Item));
    }
    AddTwoLineRow(rows, u"Тип исходных обновлений", cbCodec);
    edMask = NewLineEdit(half, "edMask");
    AddOneLineRow(rows, captions, u"Маска файла обновления", edMask);
    edIdent = NewLineEdit(half, "edIdent");
    AddOneLineRow(rows, captions, u"Идентификатор группы", edIdent);
    AddTwoLineRow(rows, u"Каталог преобразованных обновлений",
                  NewBrowseBox(half, "edTo", edTo, edToButton));

    cbSpecProd = new QCheckBox(QStringLiteral(u"БД спецпродукции"), half);
    cbSpecProd->setObjectName(QStringLiteral("cbSpecProd"));
    rows->addWidget(cbSpecProd);
    const auto addRoleRow = [rows, &captions](const char* rowName, const char16_t* caption,
                                              const char* boxName, QComboBox*& box) {
        box = NewRoleBox(boxName);
        QWidget* row = AddOneLineRow(rows, captions, caption, box);
        row->setObjectName(QString::fromLatin1(rowName));
        return row;
    };
    lbBeg = addRoleRow("lbBeg", u"Поле начального номера", "cbBeg", cbBeg);
    lbEnd = addRoleRow("lbEnd", u"Поле конечного номера", "cbEnd", cbEnd);
    lbKodObj = addRoleRow("lbKodObj", u"Поле кода объекта учета", "cbKodObj", cbKodObj);
    lbCeria = addRoleRow("lbCeria", u"Поле шифра региона", "cbCeria", cbCeria);
    lbTipZnak = addRoleRow("lbTipZnak", u"Поле типа знака", "cbTipZnak", cbTipZnak);
    AlignOneLineRows(captions, TFontScale(font()).X(kCaptionWidth));
    rows->addStretch();
    return half;
}

QWidget* TfmRegEdit::NewFieldsHalf() {
    auto* group = new QGroupBox(QStringLiteral(u"Поля преобразованного обновления"), this);
    List = new QTreeWidget(group);
    List->setObjectName(QStringLiteral("List"));
    List->setRootIsDecorated(false);
    List->setItemsExpandable(false);
    List->setEditTriggers(QAbstractItemView::NoEditTriggers);
    List->setSelectionMode(QAbstractItemView::SingleSelection);
    List->setSelectionBehavior(QAbstractItemView::SelectRows);
    List->setHeaderLabels({QStringLiteral(u"Имя поля"), QStringLiteral(u"Размер"),
                           FromU16(TransportFormatOf(-1).CodeColumn), QStringLiteral(u"А. код")});
    QHeaderView* header = List->header();
    header->setSectionsClickable(false);
    header->setSectionsMovable(false);
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::Fixed);
    for (int column : {kSizeColumn, kCodeColumn, kACodeColumn}) {
        List->headerItem()->setTextAlignment(column, Qt::AlignCenter);
    }
    const TFontScale scale(font());
    FixColumnWidth(List, kNameColumn, scale.X(130), {});
    FixColumnWidth(List, kSizeColumn, scale.X(50), {});
    // The code column is captioned by the format.
    QStringList codeCaptions;
    for (const TTransportFormat& format : TransportFormats()) {
        codeCaptions.append(FromU16(format.CodeColumn));
    }
    FixColumnWidth(List, kCodeColumn, scale.X(50), codeCaptions);
    FixColumnWidth(List, kACodeColumn, scale.X(50), {});
    List->setMinimumWidth(header->length() + 2 * List->frameWidth());

    tools_ = new ListToolBar(group);
    sbAdd = tools_->sbAdd;
    sbSet = tools_->sbSet;
    sbDel = tools_->sbDel;
    auto* line = new QHBoxLayout(group);
    line->addWidget(List, 1);
    line->addWidget(tools_);
    return group;
}

QLineEdit* TfmRegEdit::Edit(TRegEditText which) const {
    switch (which) {
        case TRegEditText::Name:
            return edName;
        case TRegEditText::From:
            return edFrom;
        case TRegEditText::Mask:
            return edMask;
        case TRegEditText::Ident:
            return edIdent;
        case TRegEditText::To:
            return edTo;
    }
    throw std::invalid_argument("no such edit box in the type editor");
}

QComboBox* TfmRegEdit::RoleBox(TRole role) const {
    switch (role) {
        case TRole::Beg:
            return cbBeg;
        case TRole::End:
            return cbEnd;
        case TRole::KodObj:
            return cbKodObj;
        case TRole::Ceria:
            return cbCeria;
        case TRole::TipZnak:
            return cbTipZnak;
    }
    throw std::invalid_argument("no such role box in the type editor");
}

QWidget* TfmRegEdit::RoleRow(TRole role) const {
    return RoleBox(role)->parentWidget();
}

std::u16string TfmRegEdit::Text(TRegEditText which) const {
    return Edit(which)->text().toStdU16String();
}

void TfmRegEdit::SetText(TRegEditText which, std::u16string_view text) {
    Edit(which)->setText(FromU16(text));
}

void TfmRegEdit::ShowNameHint(std::u16string_view text) {
    ShowHint(lbNameHint, FromU16(text));
}

int TfmRegEdit::Codec() const {
    return cbCodec->currentIndex();
}

void TfmRegEdit::SetCodec(int index) {
    cbCodec->setCurrentIndex(index);
}

bool TfmRegEdit::SpecProd() const {
    return cbSpecProd->isChecked();
}

void TfmRegEdit::SetSpecProd(bool checked) {
    cbSpecProd->setChecked(checked);
}

void TfmRegEdit::EnableRole(TRole role, bool enabled) {
    RoleRow(role)->setEnabled(enabled);
}

std::u16string TfmRegEdit::RoleText(TRole role) const {
    return RoleBox(role)->currentText().toStdU16String();
}

void TfmRegEdit::SetRoleText(TRole role, std::u16string_view text) {
    RoleBox(role)->setEditText(FromU16(text));
}

void TfmRegEdit::SetRoleItems(const std::vector<std::u16string>& names) {
    QStringList items;
    for (const std::u16string& name : names) {
        items << FromU16(name);
    }
    for (const TRole role : kRoles) {
        QComboBox* box = RoleBox(role);
        const QString text = box->currentText();
        box->clear();
        box->addItems(items);
        box->setCurrentIndex(-1);
        box->setEditText(text);
    }
}

void TfmRegEdit::SetCodeColumn(std::u16string_view caption) {
    List->headerItem()->setText(kCodeColumn, FromU16(caption));
}

void TfmRegEdit::AppendFieldRow(const TFieldRow& shown) {
    auto* row = new QTreeWidgetItem(List);
    for (int column : {kSizeColumn, kCodeColumn, kACodeColumn}) {
        row->setTextAlignment(column, Qt::AlignCenter);
        row->setForeground(column, kNumberColour);
    }
    ShowRow(row, shown);
}

void TfmRegEdit::SetFieldRow(int row, const TFieldRow& shown) {
    ShowRow(List->topLevelItem(row), shown);
}

void TfmRegEdit::RemoveFieldRow(int row) {
    delete List->takeTopLevelItem(row);
}

void TfmRegEdit::SelectFieldRow(int row) {
    if (row < 0) {
        List->clearSelection();
        List->setCurrentItem(nullptr);
    } else {
        List->setCurrentItem(List->topLevelItem(row));
    }
}

int TfmRegEdit::SelectedFieldRow() const {
    const auto rows = List->selectedItems();
    return rows.isEmpty() ? -1 : List->indexOfTopLevelItem(rows.front());
}

int TfmRegEdit::TopVisibleFieldRow() const {
    QTreeWidgetItem* top = List->itemAt(0, 0);
    return top == nullptr ? -1 : List->indexOfTopLevelItem(top);
}

void TfmRegEdit::EnableFieldButtons(bool enabled) {
    tools_->SetRowSelected(enabled);
}

void TfmRegEdit::EnableOk(bool enabled) {
    btOk->setEnabled(enabled);
}

bool TfmRegEdit::RunFieldEditor(TDF& field, const TDD&) {
    return EditField(field);
}

std::optional<std::u16string> TfmRegEdit::ChooseFolder(std::u16string_view start) {
    const QString folder = ChooseDirectory(FromU16(start));
    if (folder.isEmpty()) {
        return std::nullopt;
    }
    return folder.toStdU16String();
}
