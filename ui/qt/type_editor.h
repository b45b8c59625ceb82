// TfmRegEdit: the update-type editor, the Qt view of TRegEditForm: its name,
// directories, mask, transport format, group identifier, special-products
// roles and its output fields.
#pragma once

#include <QDialog>
#include <functional>

#include "config/descriptors.h"
#include "ui/forms/reg_edit_form.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class ListToolBar;

class TfmRegEdit : public QDialog, private TRegEditView {
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

    // TRegEditView.
    std::u16string Text(TRegEditText which) const override;
    void SetText(TRegEditText which, std::u16string_view text) override;
    void ShowNameHint(std::u16string_view text) override;
    int Codec() const override;
    void SetCodec(int index) override;
    bool SpecProd() const override;
    void SetSpecProd(bool checked) override;
    void EnableRole(TRole role, bool enabled) override;
    std::u16string RoleText(TRole role) const override;
    void SetRoleText(TRole role, std::u16string_view text) override;
    void SetRoleItems(const std::vector<std::u16string>& names) override;
    void SetCodeColumn(std::u16string_view caption) override;
    void AppendFieldRow(const TFieldRow& row) override;
    void SetFieldRow(int row, const TFieldRow& shown) override;
    void RemoveFieldRow(int row) override;
    void SelectFieldRow(int row) override;
    int SelectedFieldRow() const override;
    int TopVisibleFieldRow() const override;
    void EnableFieldButtons(bool enabled) override;
    void EnableOk(bool enabled) override;
    bool RunFieldEditor(TDF& field, const TDD& type) override;
    std::optional<std::u16string> ChooseFolder(std::u16string_view start) override;
    void CloseOk() override { accept(); }

    QLineEdit* Edit(TRegEditText which) const;
    QComboBox* RoleBox(TRole role) const;
    QWidget* RoleRow(TRole role) const;

    ListToolBar* tools_;
    TRegEditForm form_;
};
