// TfmRegEdit: edits one update type: its name, directories, mask, transport
// format, group identifier, special-products roles and its output fields.
#pragma once

#include <QDialog>
#include <array>
#include <functional>

#include "config/descriptors.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class ListToolBar;

class TfmRegEdit : public QDialog {
    Q_OBJECT
  public:
    // The type's own settings are written back only when the dialog ends with
    // OK; its field list follows every confirmed field operation at once, also
    // when the dialog then ends with "Отмена". `list`, when given, holds the
    // update types whose names the type's name must not repeat (it may hold
    // `type` itself).
    TfmRegEdit(TDD& type, QWidget* owner = nullptr, const TDL* list = nullptr);

    // Opens the field editor on a field whose Key holds the selected format;
    // true when the operator confirmed. The default runs TfmField.
    std::function<bool(TDF& field)> EditField;
    // Asks for a directory starting at the one given; an empty text when the
    // operator cancels. The default runs "Выбор каталога".
    std::function<QString(const QString& start)> ChooseDirectory;

    QLineEdit* edName;
    QLabel* lbNameHint;  // why the name cannot be taken; hidden when it can
    QLineEdit* edFrom;
    QToolButton* edFromButton;
    QComboBox* cbCodec;
    QLineEdit* edMask;
    QLineEdit* edIdent;
    QLineEdit* edTo;
    QToolButton* edToButton;
    QCheckBox* cbSpecProd;
    QWidget* lbBeg;
    QComboBox* cbBeg;
    QWidget* lbEnd;
    QComboBox* cbEnd;
    QWidget* lbKodObj;
    QComboBox* cbKodObj;
    QWidget* lbCeria;
    QComboBox* cbCeria;
    QWidget* lbTipZnak;
    QComboBox* cbTipZnak;
    QTreeWidget* List;
    QToolButton* sbAdd;
    QToolButton* sbSet;
    QToolButton* sbDel;
    QPushButton* btOk;
    QPushButton* btCancel;

  private:
    QWidget* NewSettingsHalf();
    QWidget* NewFieldsHalf();

    void cbCodecChange();
    void cbSpecProdClick();
    void ListSelectItem();
    void sbAddClick();
    void sbSetClick();
    void sbDelClick();
    void Browse(QLineEdit* edit);
    void ButtonsClickOk();

    void ApplyOkRule();
    void ApplySpecProdRule();
    void RebuildRoleLists();
    std::array<QComboBox*, 5> RoleBoxes() const;
    QTreeWidgetItem* AppendRow(TDF& field);
    QTreeWidgetItem* SelectedRow() const;

    ListToolBar* tools_;
    TDD& type_;
    const TDL* list_;
};
