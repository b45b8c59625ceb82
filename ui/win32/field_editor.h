// TfmField on Windows: the field editor over its form (TFieldForm), with
// edName and the spin edits seSize, seCode and seACode, each an edit with an
// up-down control buddied to it.
#pragma once

#include <array>

#include "ui/forms/field_form.h"
#include "ui/win32/modal_dialog.h"

class TfmField final : private TModalDialog, private TFieldView {
  public:
    // `type` holds the names the field's must differ from.
    TfmField(TDF& field, const TDD& type);

    // Runs the editor over `owner`; true when it ended with OK.
    bool Run(HWND owner);

  private:
    // TModalDialog
    void OnOpen() override;
    void OnCommand(int id, int code) override;
    void OnSize(int width, int height) override;

    // TFieldView
    std::u16string NameText() const override;
    void SetNameText(std::u16string_view text) override;
    void ShowNameHint(std::u16string_view text) override;
    int Number(TFieldNumber which) const override;
    void SetNumber(TFieldNumber which, int value) override;
    void SetCodeCaption(std::u16string_view text) override;
    void EnableOk(bool enabled) override;
    void CloseOk() override;

    HWND edName = nullptr;
    HWND lbCode = nullptr;
    HWND lbAddCode = nullptr;
    // seSize, seCode, seACode: the edit and its up-down control.
    std::array<HWND, 3> numbers_{};
    std::array<HWND, 3> spins_{};
    HWND nameHint_ = nullptr;
    HWND btOk_ = nullptr;
    HWND btCancel_ = nullptr;
    bool open_ = false;
    TFieldForm form_;
};
