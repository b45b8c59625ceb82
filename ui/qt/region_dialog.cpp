#include "ui/qt/region_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <cstdio>
#include <string>

#include "ui/qt/ansi_text.h"
#include "ui/qt/exception_box.h"
#include "ui/qt/font_scale.h"
#include "ui/qt/list_tool_bar.h"
#include "ui/qt/type_editor.h"

TfmRegion::TfmRegion(QWidget* owner, std::filesystem::path storeFile)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                         Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      form_(*this, std::move(storeFile)) {
    setWindowTitle(QStringLiteral(u"Список региональных обновлений"));
    EditType = [this](TDD& type) {
        TfmRegEdit editor(type, this, &form_.Types());
        return editor.exec() == QDialog::Accepted;
    };
    ShowError = [this](const QString& message) { ShowExceptionBox(this, message); };

    List = new QListWidget(this);
    List->setObjectName(QStringLiteral("List"));
    List->setSelectionMode(QAbstractItemView::SingleSelection);
    tools_ = new ListToolBar(this);
    sbAdd = tools_->sbAdd;
    sbSet = tools_->sbSet;
    sbDel = tools_->sbDel;
    cbAuto = new QCheckBox(QStringLiteral(u"Автоматический запуск программы при входе"), this);
    cbAuto->setObjectName(QStringLiteral("cbAuto"));
    auto* buttons = new QDialogButtonBox(this);
    btClose = buttons->addButton(QStringLiteral(u"Закрыть"), QDialogButtonBox::RejectRole);
    btClose->setObjectName(QStringLiteral("btClose"));
    // A button of the cancel kind only (Esc): Enter, on a row or anywhere
    // else, closes nothing.
    btClose->setAutoDefault(false);

    auto* layout = new QGridLayout(this);
    const TFontScale scale(font());
    layout->setContentsMargins(scale.X(10), scale.Y(10), scale.X(10), scale.Y(10));
    layout->addWidget(List, 0, 0);
    layout->addWidget(tools_, 0, 1);
    layout->addWidget(cbAuto, 1, 0, 1, 2);
    layout->addWidget(buttons, 2, 0, 1, 2);
    setFixedSize(scale.Size(407, 284));

    connect(List, &QListWidget::itemSelectionChanged, this, [this] { form_.ListClick(); });
    // The double click selects its row first.
    connect(List, &QListWidget::itemDoubleClicked, this, [this] { form_.ListDblClick(); });
    connect(sbAdd, &QToolButton::clicked, this, [this] { form_.sbAddClick(); });
    connect(sbSet, &QToolButton::clicked, this, [this] { form_.sbSetClick(); });
    connect(sbDel, &QToolButton::clicked, this, [this] { form_.sbDelClick(); });
    connect(btClose, &QPushButton::clicked, this, &QDialog::reject);
    form_.Open();
}

void TfmRegion::AppendRow(std::u16string_view text) {
    new QListWidgetItem(FromU16(text), List);
}

void TfmRegion::SetRowText(int row, std::u16string_view text) {
    List->item(row)->setText(FromU16(text));
}

void TfmRegion::RemoveRow(int row) {
    delete List->takeItem(row);
}

void TfmRegion::SelectRow(int row) {
    if (row < 0) {
        List->clearSelection();
        List->setCurrentItem(nullptr);
    } else {
        List->setCurrentRow(row);
    }
}

int TfmRegion::SelectedRow() const {
    const auto rows = List->selectedItems();
    return rows.isEmpty() ? -1 : List->row(rows.front());
}

void TfmRegion::EnableRowButtons(bool enabled) {
    tools_->SetRowSelected(enabled);
}

void TfmRegion::SetAutoRun(bool checked) {
    cbAuto->setChecked(checked);
}

bool TfmRegion::AutoRun() const {
    return cbAuto->isChecked();
}

bool TfmRegion::RunTypeEditor(TDD& type, const TDL&) {
    return EditType(type);
}

void TfmRegion::done(int result) {
    form_.FormClose();
    QDialog::done(result);
}

// The window's only word: standard error.
void TfmRegion::Note(const std::string& text) {
    std::fprintf(stderr, "kvadrel: %s\n", text.c_str());
}
