// What the update list shows, as its form tells it: the toolkit's dialog
// implements it.
#pragma once

#include <string>
#include <string_view>

#include "config/descriptors.h"

class TRegionView {
  public:
    virtual ~TRegionView() = default;

    // The rows of List, by index.
    virtual void AppendRow(std::u16string_view text) = 0;
    virtual void SetRowText(int row, std::u16string_view text) = 0;
    virtual void RemoveRow(int row) = 0;
    // -1: no row selected.
    virtual void SelectRow(int row) = 0;
    virtual int SelectedRow() const = 0;
    // "Изменить" and "Удалить".
    virtual void EnableRowButtons(bool enabled) = 0;
    // cbAuto.
    virtual void SetAutoRun(bool checked) = 0;
    virtual bool AutoRun() const = 0;
    // Runs the update-type editor modally on `type`, one of `types` or a new
    // one; true when it ended with OK.
    virtual bool RunTypeEditor(TDD& type, const TDL& types) = 0;
    // Why storing the configuration failed (the standard exception box).
    virtual void ShowSaveError(const std::string& message) = 0;
    // A remark of the store that is no failure; not shown in the dialog.
    virtual void Note(const std::string& text) = 0;
};
