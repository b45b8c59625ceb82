// TfmField: edits one output field of an update type (name, size, code,
// alternative code). The field's Key tells the transport format, which names
// the code row.
#pragma once

#include <QDialog>

#include "config/descriptors.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

class TfmField : public QDialog {
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
    void edNameChange();
    void seCodeChange(int value);
    void ButtonsClickOk();

    // The name as it is stored: without leading and trailing blanks.
    QString TrimmedName() const;
    QString NameProblem(const QString& name) const;

    TDF& field_;
    const TDD* type_;
};
