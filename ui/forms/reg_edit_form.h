// TRegEditForm: what the update-type editor decides. The type's own settings
// are written back only on OK; its field list follows every confirmed field
// operation at once, also when the dialog then ends with "Отмена".
#pragma once

#include <vector>

#include "config/descriptors.h"
#include "ui/forms/reg_edit_view.h"

class TRegEditForm {
  public:
    // `list`, when given, holds the update types whose names the type's name
    // must not repeat (it may hold `type` itself).
    TRegEditForm(TRegEditView& view, TDD& type, const TDL* list = nullptr);

    // Fills the view from the type, before the view's handlers are connected.
    void Open();
    // A text change of edName, edFrom, edMask, edIdent or edTo.
    void edNameChange();
    // The operator picked a format.
    void cbCodecChange();
    void cbSpecProdClick();
    void ListSelectItem();
    void sbAddClick();
    void sbSetClick();
    // A double click: "Изменить" when a row is selected.
    void ListDblClick();
    void sbDelClick();
    void edFromButtonClick();
    void edToButtonClick();
    void ButtonsClickOk();

  private:
    void ApplyOkRule();
    void ApplySpecProdRule();
    void RebuildRoleLists();
    void AppendRow(TDF& field);
    TDF* SelectedField() const;
    void Browse(TRegEditText folder);

    TRegEditView& view_;
    TDD& type_;
    const TDL* list_;
    std::vector<TDF*> rows_;  // the field of each row of List
};
