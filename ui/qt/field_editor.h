// TfmField: the field editor, the Qt view of TFieldForm.
#pragma once

#include <QDialog>

#include "config/descriptors.h"
#include "ui/forms/field_form.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

class TfmField : public QDialog, private TFieldView {
    Q_OBJECT
  public:
    // Writes into `field` only when the dialog ends with OK. `type`, when
    // given, is the update type whose other fields the name must not repeat;
    // `field` itself may be one of them or a free field.
    TfmField(TDF& field, QWidget* owner = nullptr, const TDD* type = nullptr);

    QLineEdit* edName;
    QLabel* lbNameHint;  // why the name cannot be taken; hidden when it can
    QSpinBox* seSize;
    QLabel* lbCode;
    QSpinBox* seCode;
    QLabel* lbAddCode;
    QSpinBox* seACode;
    QPushButton* btOk;
    QPushButton* btCancel;

  private:
    // TFieldView.
    std::u16string NameText() const override;
    void SetNameText(std::u16string_view text) override;
    void ShowNameHint(std::u16string_view text) override;
    int Number(TFieldNumber which) const override;
    void SetNumber(TFieldNumber which, int value) override;
    void SetCodeCaption(std::u16string_view text) override;
    void EnableOk(bool enabled) override;
    void CloseOk() override { accept(); }

    QSpinBox* SpinEdit(TFieldNumber which) const;

    TFieldForm form_;
};
