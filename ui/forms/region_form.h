// TRegionForm: what the update list decides. It adds, changes and deletes
// update types through the type editor, holds the automatic-start switch,
// and stores the whole configuration after every confirmed change and when
// it closes. Its one button is "Закрыть", of the cancel kind (Esc); Enter
// closes nothing.
#pragma once

#include <filesystem>
#include <vector>

#include "config/descriptors.h"
#include "ui/forms/region_view.h"

class TRegionForm {
  public:
    TRegionForm(TRegionView& view, std::filesystem::path storeFile);

    // Loads the configuration and fills the view; its handlers are connected.
    void Open();
    // A click in the list: the button rule.
    void ListClick();
    // A double click: "Изменить" when a row is selected.
    void ListDblClick();
    void sbAddClick();
    void sbSetClick();
    void sbDelClick();
    // The dialog closes (by "Закрыть", Esc or the close box): AutoRun from
    // the check box, and the configuration stored.
    void FormClose();

    // The dialog's own copy of the configuration.
    const TDL& Types() const { return DL; }

  private:
    void AppendRow(TDD& type);
    TDD* SelectedType() const;
    // Replaces the stored configuration by the dialog's; a failure is shown
    // and the stored configuration stays the previous one.
    void Save();

    TRegionView& view_;
    std::filesystem::path storeFile_;
    TDL DL;
    std::vector<TDD*> rows_;  // the type of each row of List
};
