// TFieldForm: what the field editor decides. It edits one output field of an
// update type (name, size, code, alternative code); the field's Key tells the
// transport format, which names the code row. The field is written only on
// OK.
#pragma once

#include <string>
#include <string_view>

#include "config/descriptors.h"
#include "ui/forms/field_view.h"

class TFieldForm {
  public:
    // `type`, when given, is the update type whose other fields the name must
    // not repeat; `field` itself may be one of them or a free field.
    TFieldForm(TFieldView& view, TDF& field, const TDD* type = nullptr);

    // The ranges the view gives its spin edits.
    static TNumberRange RangeOf(TFieldNumber which);

    // Fills the view from the field; the view's handlers are connected.
    void Open();
    // edName's text changed: the OK rule and the name's hint.
    void edNameChange();
    // seCode's value changed: the alternative code follows it.
    void seCodeChange(int value);
    // OK: writes the field and ends the dialog.
    void ButtonsClickOk();

  private:
    // Why the trimmed name cannot be the field's; empty when it can.
    std::u16string NameProblem(std::u16string_view name) const;

    TFieldView& view_;
    TDF& field_;
    const TDD* type_;
};
