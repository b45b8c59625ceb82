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
#include <filesystem>
#include <vector>

#include "config/transport_format.h"
#include "ui/qt/ansi_text.h"
#include "ui/qt/dialog_frame.h"
#include "ui/qt/directory_dialog.h"
#include "ui/qt/field_editor.h"
#include "ui/qt/font_scale.h"
#include "ui/qt/list_tool_bar.h"
#include "ui/qt/type_name_rule.h"


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

TDF& FieldOf(const QTreeWidgetItem* row) {
    return *static_cast<TDF*>(row->data(kNameColumn, Qt::UserRole).value<void*>());
}

void ShowField(QTreeWidgetItem* row, const TDF& field) {
    row->setText(kNameColumn, QString::fromStdU16String(field.Name));
    row->setText(kSizeColumn, QString::number(field.Size));
    row->setText(kCodeColumn, QString::number(field.Code));
    row->setText(kACodeColumn, QString::number(field.ACode));
}

// Folders are stored with a trailing separator, so that the mask and file
// names can be appended directly.
AnsiString WithTrailingSeparator(AnsiString folder) {
    constexpr char kSeparator = char(std::filesystem::path::preferred_separator);
    if (folder.empty() || folder.back() != kSeparator) {
        folder += kSeparator;
    }
    return folder;
}

}  // namespace

TfmRegEdit::TfmRegEdit(TDD& type, QWidget* owner, const TDL* list)
    : QDialog(owner, kTitleOnlyDialogFlags), type_(type), list_(list) {
    setWindowTitle(QStringLiteral(u"Региональное обновление"));
    EditField = [this](TDF& field) {
        TfmField editor(field, this, &type_);
        return editor.exec() == QDialog::Accepted;
    };
    ChooseDirectory = [this](const QString& start) { return ChooseDirectoryDialog(this, start); };

    auto* halves = new QHBoxLayout;
    halves->addWidget(NewSettingsHalf(), 1);
    halves->addWidget(NewFieldsHalf(), 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(halves, 1);
    layout->addWidget(NewOkCancelBar(this, btOk, btCancel));

    edName->setText(FromAnsi(type.Name));
    edFrom->setText(FromAnsi(type.From));
    edMask->setText(FromAnsi(type.Mask));
    edTo->setText(FromAnsi(type.To));
    // Showing the stored format is no format change: the stored identifier
    // and the column caption "Код" stay. A Codec that is no item index
    // selects nothing.
    cbCodec->setCurrentIndex(type.Codec);
    edIdent->setText(FromAnsi(type.Ident));
    cbSpecProd->setChecked(type.SpecProd);
    ApplySpecProdRule();
    cbBeg->setEditText(FromAnsi(type.Beg));
    cbEnd->setEditText(FromAnsi(type.End));
    cbCeria->setEditText(FromAnsi(type.Ceria));
    cbKodObj->setEditText(FromAnsi(type.KodObj));
    cbTipZnak->setEditText(FromAnsi(type.TipZnak));
    for (TDF* field = type.First; field != nullptr; field = field->Next) {
        AppendRow(*field);
    }
    RebuildRoleLists();
    List->setCurrentItem(List->topLevelItem(0));

    for (QLineEdit* edit : {edName, edFrom, edMask, edIdent, edTo}) {
        connect(edit, &QLineEdit::textChanged, this, &TfmRegEdit::ApplyOkRule);
    }
    connect(cbCodec, &QComboBox::currentIndexChanged, this, &TfmRegEdit::cbCodecChange);
    connect(cbSpecProd, &QCheckBox::toggled, this, &TfmRegEdit::cbSpecProdClick);
    connect(List, &QTreeWidget::itemSelectionChanged, this, &TfmRegEdit::ListSelectItem);
    // A double click selects its row first, so it changes that row's field.
    connect(List, &QTreeWidget::itemDoubleClicked, this, &TfmRegEdit::sbSetClick);
    connect(sbAdd, &QToolButton::clicked, this, &TfmRegEdit::sbAddClick);
    connect(sbSet, &QToolButton::clicked, this, &TfmRegEdit::sbSetClick);
    connect(sbDel, &QToolButton::clicked, this, &TfmRegEdit::sbDelClick);
    connect(edFromButton, &QToolButton::clicked, this, [this] { Browse(edFrom); });
    connect(edToButton, &QToolButton::clicked, this, [this] { Browse(edTo); });
    connect(btOk, &QPushButton::clicked, this, &TfmRegEdit::ButtonsClickOk);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
    ListSelectItem();
    ApplyOkRule();
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

std::array<QComboBox*, 5> TfmRegEdit::RoleBoxes() const {
    return {cbBeg, cbEnd, cbKodObj, cbCeria, cbTipZnak};
}

QTreeWidgetItem* TfmRegEdit::AppendRow(TDF& field) {
    auto* row = new QTreeWidgetItem(List);
    row->setData(kNameColumn, Qt::UserRole, QVariant::fromValue(static_cast<void*>(&field)));
    for (int column : {kSizeColumn, kCodeColumn, kACodeColumn}) {
        row->setTextAlignment(column, Qt::AlignCenter);
        row->setForeground(column, kNumberColour);
    }
    ShowField(row, field);
    return row;
}

QTreeWidgetItem* TfmRegEdit::SelectedRow() const {
    const auto rows = List->selectedItems();
    return rows.isEmpty() ? nullptr : rows.front();
}

void TfmRegEdit::ApplyOkRule() {
    const QString nameProblem = TypeNameProblem(edName->text(), list_, &type_);
    ShowHint(lbNameHint, nameProblem);
    btOk->setEnabled(!edName->text().isEmpty() && nameProblem.isEmpty() &&
                     cbCodec->currentIndex() >= 0 && List->topLevelItemCount() > 0 &&
                     !edFrom->text().isEmpty() && !edTo->text().isEmpty());
}

void TfmRegEdit::ApplySpecProdRule() {
    const bool ticked = cbSpecProd->isChecked();
    const TSpecialRoles& roles = TransportFormatOf(cbCodec->currentIndex()).EditorRoles;
    lbBeg->setEnabled(ticked && roles.Beg);
    lbEnd->setEnabled(ticked && roles.End);
    lbKodObj->setEnabled(ticked && roles.KodObj);
    lbCeria->setEnabled(ticked && roles.Ceria);
    lbTipZnak->setEnabled(ticked && roles.TipZnak);
}

void TfmRegEdit::cbCodecChange() {
    ApplyOkRule();
    ApplySpecProdRule();
    // The identifier follows every format change, also over a typed one.
    const TTransportFormat& format = TransportFormatOf(cbCodec->currentIndex());
    if (format.IsFormat()) {
        edIdent->setText(FromU16(format.DefaultIdent));
        List->headerItem()->setText(kCodeColumn, FromU16(format.CodeColumn));
    }
}

void TfmRegEdit::cbSpecProdClick() {
    ApplySpecProdRule();
}

void TfmRegEdit::ListSelectItem() {
    tools_->SetRowSelected(SelectedRow() != nullptr);
}

// The role texts stay as they are, also when they name a field that was
// renamed or deleted.
void TfmRegEdit::RebuildRoleLists() {
    QStringList names;
    for (int i = 0; i < List->topLevelItemCount(); ++i) {
        names << List->topLevelItem(i)->text(kNameColumn);
    }
    for (QComboBox* box : RoleBoxes()) {
        const QString text = box->currentText();
        box->clear();
        box->addItems(names);
        box->setCurrentIndex(-1);
        box->setEditText(text);
    }
}

void TfmRegEdit::sbAddClick() {
    // The field editor fills a free field; the type gets a field of its own
    // only when the editor is confirmed.
    TDF scratch("", 0, 0, 0);
    scratch.Key = cbCodec->currentIndex();
    if (!EditField(scratch)) {
        return;
    }
    TDF& field = *type_.Add(platform::Utf16ToCp1251(scratch.Name), scratch.Size, scratch.Code,
                            scratch.ACode);
    List->setCurrentItem(AppendRow(field));
    RebuildRoleLists();
    ApplyOkRule();
}

void TfmRegEdit::sbSetClick() {
    QTreeWidgetItem* row = SelectedRow();
    if (row == nullptr) {
        return;
    }
    TDF& field = FieldOf(row);
    field.Key = cbCodec->currentIndex();
    if (!EditField(field)) {
        return;
    }
    ShowField(row, field);
    RebuildRoleLists();
}

void TfmRegEdit::sbDelClick() {
    QTreeWidgetItem* row = SelectedRow();
    if (row == nullptr) {
        return;
    }
    delete type_.Remove(&FieldOf(row));
    delete row;
    List->clearSelection();
    if (QTreeWidgetItem* top = List->itemAt(0, 0)) {
        List->setCurrentItem(top);
    }
    RebuildRoleLists();
    ApplyOkRule();
}

void TfmRegEdit::Browse(QLineEdit* edit) {
    const QString folder = ChooseDirectory(edit->text());
    if (!folder.isEmpty()) {
        edit->setText(folder);
    }
}

void TfmRegEdit::ButtonsClickOk() {
    type_.Name = ToAnsi(edName->text());
    type_.From = WithTrailingSeparator(ToAnsi(edFrom->text()));
    type_.Mask = edMask->text().isEmpty() ? AnsiString("*.*") : ToAnsi(edMask->text());
    type_.To = WithTrailingSeparator(ToAnsi(edTo->text()));
    type_.Codec = cbCodec->currentIndex();
    type_.Ident = ToAnsi(edIdent->text());
    type_.SpecProd = cbSpecProd->isChecked();
    type_.Beg = ToAnsi(cbBeg->currentText());
    type_.End = ToAnsi(cbEnd->currentText());
    type_.Ceria = ToAnsi(cbCeria->currentText());
    type_.KodObj = ToAnsi(cbKodObj->currentText());
    type_.TipZnak = ToAnsi(cbTipZnak->currentText());
    accept();
}
