#include "ui/qt/region_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <cstdio>
#include <memory>
#include <string>

#include "ui/qt/ansi_text.h"
#include "ui/qt/exception_box.h"
#include "ui/qt/font_scale.h"
#include "ui/qt/list_tool_bar.h"
#include "ui/qt/type_editor.h"

namespace {

TDD* TypeOf(const QListWidgetItem* row) {
    return static_cast<TDD*>(row->data(Qt::UserRole).value<void*>());
}

}  // namespace

TfmRegion::TfmRegion(QWidget* owner, std::filesystem::path storeFile)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                         Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      storeFile_(std::move(storeFile)) {
    setWindowTitle(QStringLiteral(u"Список региональных обновлений"));
    EditType = [this](TDD& type) {
        TfmRegEdit editor(type, this, &DL_);
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

    if (const TStoreLoad found = DL_.Load(storeFile_); !found.CloseError.empty()) {
        std::fprintf(stderr, "kvadrel: %s\n", found.CloseError.c_str());  // the window's only word
    }
    cbAuto->setChecked(DL_.AutoRun);
    for (TDD* type = DL_.First; type != nullptr; type = type->Next) {
        AppendRow(*type);
    }
    List->setCurrentRow(0);  // no row when the list is empty

    connect(List, &QListWidget::itemSelectionChanged, this, &TfmRegion::ListClick);
    connect(List, &QListWidget::itemDoubleClicked, this, &TfmRegion::sbSetClick);
    connect(sbAdd, &QToolButton::clicked, this, &TfmRegion::sbAddClick);
    connect(sbSet, &QToolButton::clicked, this, &TfmRegion::sbSetClick);
    connect(sbDel, &QToolButton::clicked, this, &TfmRegion::sbDelClick);
    connect(btClose, &QPushButton::clicked, this, &QDialog::reject);
    ListClick();
}

void TfmRegion::AppendRow(TDD& type) {
    auto* row = new QListWidgetItem(FromAnsi(type.Name), List);
    row->setData(Qt::UserRole, QVariant::fromValue(static_cast<void*>(&type)));
}

TDD* TfmRegion::SelectedType() const {
    const auto rows = List->selectedItems();
    return rows.isEmpty() ? nullptr : TypeOf(rows.front());
}

// The button rule: "Изменить" and "Удалить" act on the selected row.
void TfmRegion::ListClick() {
    tools_->SetRowSelected(SelectedType() != nullptr);
}

void TfmRegion::sbAddClick() {
    auto type = std::make_unique<TDD>("", -1, "");
    if (!EditType(*type)) {
        return;  // the abandoned type dies here; nothing was stored
    }
    AppendRow(*DL_.Add(type.release()));
    List->setCurrentRow(List->count() - 1);
    ListClick();
    Save();
}

// Also the double click, which selects its row first.
void TfmRegion::sbSetClick() {
    TDD* type = SelectedType();
    if (type == nullptr) {
        return;
    }
    if (EditType(*type)) {
        List->selectedItems().front()->setText(FromAnsi(type->Name));
        Save();
    }
    ListClick();
}

void TfmRegion::sbDelClick() {
    const auto rows = List->selectedItems();
    if (rows.isEmpty()) {
        return;
    }
    delete DL_.Remove(TypeOf(rows.front()));
    delete rows.front();
    List->clearSelection();
    List->setCurrentItem(nullptr);
    Save();
    ListClick();
}

void TfmRegion::FormClose() {
    DL_.AutoRun = cbAuto->isChecked();
    Save();
}

void TfmRegion::done(int result) {
    FormClose();
    QDialog::done(result);
}

void TfmRegion::Save() {
    try {
        // A note, unlike a failure, goes to standard error only: the save worked.
        for (const std::string& note : DL_.Save(storeFile_).Notes()) {
            std::fprintf(stderr, "kvadrel: %s\n", note.c_str());
        }
    } catch (const std::exception& error) {
        ShowError(QString::fromUtf8(error.what()));
    }
}
