// TfmRegion on Windows: the update list over its form (TRegionForm), with
// the list List, the vertical toolbar sbAdd / sbSet / sbDel, the check box
// cbAuto and "Закрыть".
#pragma once

#include <filesystem>

#include "ui/forms/region_form.h"
#include "ui/win32/modal_dialog.h"

class TfmRegion final : private TModalDialog, private TRegionView {
  public:
    explicit TfmRegion(std::filesystem::path storeFile);

    // Loads, shows and closes the list over `owner`; its changes are stored.
    void Run(HWND owner);

    HWND List = nullptr;
    HWND sbAdd = nullptr;
    HWND sbSet = nullptr;
    HWND sbDel = nullptr;
    HWND cbAuto = nullptr;

  private:
    // TModalDialog
    void OnOpen() override;
    void OnCommand(int id, int code) override;

    // TRegionView
    void AppendRow(std::u16string_view text) override;
    void SetRowText(int row, std::u16string_view text) override;
    void RemoveRow(int row) override;
    void SelectRow(int row) override;
    int SelectedRow() const override;
    void EnableRowButtons(bool enabled) override;
    void SetAutoRun(bool checked) override;
    bool AutoRun() const override;
    bool RunTypeEditor(TDD& type, const TDL& types) override;
    void ShowSaveError(const std::string& message) override;
    void Note(const std::string& text) override;

    TRegionForm form_;
};
