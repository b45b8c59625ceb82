// TfmRegEdit on Windows: the update-type editor over its form
// (TRegEditForm). The settings fill the left half, the field list with its
// vertical toolbar the right half; the split follows the window's width.
#pragma once

#include <array>

#include "ui/forms/reg_edit_form.h"
#include "ui/win32/modal_dialog.h"

class TfmRegEdit final : private TModalDialog, private TRegEditView {
  public:
    // `types` holds the names the type's name must not repeat.
    TfmRegEdit(TDD& type, const TDL& types);

    // Runs the editor over `owner`; true when it ended with OK.
    bool Run(HWND owner);

  private:
    // TModalDialog
    void OnOpen() override;
    void OnCommand(int id, int code) override;
    bool OnNotify(const NMHDR& header, LRESULT& result) override;
    void OnSize(int width, int height) override;

    // TRegEditView
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
    void CloseOk() override;

    // A row of the left half: its caption and its control.
    struct TRow {
        HWND Caption = nullptr;
        HWND Control = nullptr;
        HWND Browse = nullptr;  // the folders' button
        bool TwoLines = false;  // the control under the caption
    };
    TRow& RowOf(TRegEditText which);
    const TRow& RowOf(TRegEditText which) const;
    TRow& RowOf(TRole role);
    const TRow& RowOf(TRole role) const;

    TRow edName_, edFrom_, cbCodec_, edMask_, edIdent_, edTo_;
    std::array<TRow, std::size(kRoles)> roles_;
    HWND nameHint_ = nullptr;
    HWND cbSpecProd_ = nullptr;
    HWND group_ = nullptr;
    HWND List = nullptr;
    HWND sbAdd = nullptr;
    HWND sbSet = nullptr;
    HWND sbDel = nullptr;
    HWND btOk_ = nullptr;
    HWND btCancel_ = nullptr;
    bool open_ = false;  // the handlers run once the form has filled the dialog
    TRegEditForm form_;
};
