// What the field editor shows, as its form tells it: the toolkit's dialog
// implements it.
#pragma once

#include <string>
#include <string_view>

// The three spin edits, each with its range.
enum class TFieldNumber { Size, Code, ACode };

struct TNumberRange {
    int Minimum;
    int Maximum;
};

class TFieldView {
  public:
    virtual ~TFieldView() = default;

    // edName.
    virtual std::u16string NameText() const = 0;
    virtual void SetNameText(std::u16string_view text) = 0;
    // Why the name cannot be taken, beside it; hidden when empty.
    virtual void ShowNameHint(std::u16string_view text) = 0;
    // seSize, seCode, seACode; a set value is brought into its range (the
    // form's RangeOf) by the control, a typed one when the focus leaves it.
    virtual int Number(TFieldNumber which) const = 0;
    virtual void SetNumber(TFieldNumber which, int value) = 0;
    // The caption of the row lbCode.
    virtual void SetCodeCaption(std::u16string_view text) = 0;
    virtual void EnableOk(bool enabled) = 0;
    // Ends the modal run with the result OK.
    virtual void CloseOk() = 0;
};
