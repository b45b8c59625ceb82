// A spin edit that takes any typed number: a value past the range shows as
// typed while the operator types, and is brought into the range when the
// edit loses the focus (or Enter is pressed). For ranges of whole numbers
// from 0 up: no sign is typed.
#pragma once

#include <QSpinBox>

class TSpinEdit : public QSpinBox {
    Q_OBJECT
  public:
    TSpinEdit(int minimum, int maximum, QWidget* parent = nullptr);

    // Digits in the range are a value; other digits are taken for now and
    // corrected later; anything else is refused.
    QValidator::State validate(QString& text, int& position) const override;
    // Raises a number below the range, or an empty text, to the minimum and
    // lowers one above it (however many digits it has) to the maximum.
    void fixup(QString& text) const override;
};
