#include "ui/qt/spin_edit.h"

#include <algorithm>

namespace {

bool AllDigits(const QString& text) {
    for (const QChar c : text) {
        if (c < u'0' || c > u'9') {
            return false;
        }
    }
    return true;
}

}  // namespace

TSpinEdit::TSpinEdit(int minimum, int maximum, QWidget* parent) : QSpinBox(parent) {
    setRange(minimum, maximum);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
}

QValidator::State TSpinEdit::validate(QString& text, int& /*position*/) const {
    if (text.isEmpty()) {
        return QValidator::Intermediate;
    }
    if (!AllDigits(text)) {
        return QValidator::Invalid;
    }
    bool number = false;
    const int value = text.toInt(&number);
    return number && value >= minimum() && value <= maximum() ? QValidator::Acceptable
                                                              : QValidator::Intermediate;
}

void TSpinEdit::fixup(QString& text) const {
    if (!AllDigits(text)) {
        return;  // validate lets no such text in
    }
    if (text.isEmpty()) {
        text = QString::number(minimum());  // nothing is below every number
        return;
    }
    bool number = false;
    const int value = text.toInt(&number);  // fails only past the int range
    text = QString::number(!number ? maximum() : std::clamp(value, minimum(), maximum()));
}
