// Pieces the settings dialogs share: the title bar without buttons, the width
// of the caption column, the OK / "Отмена" bar and the hint that tells why
// the input cannot be taken.
#pragma once

#include <QString>
#include <Qt>

class QDialogButtonBox;
class QLabel;
class QPushButton;
class QWidget;

// A title bar without system menu and buttons: such a dialog closes only
// through its OK or "Отмена" button (or Esc).
inline constexpr Qt::WindowFlags kTitleOnlyDialogFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;

// One-line rows start their control this far in (in the original font's
// pixels, TFontScale).
inline constexpr int kCaptionWidth = 150;

// "OK" (the default button, Enter) and "Отмена" (Esc).
QDialogButtonBox* NewOkCancelBar(QWidget* parent, QPushButton*& ok, QPushButton*& cancel);

// A hint shown beside a control while the control's text cannot be taken.
QLabel* NewHintLabel(QWidget* parent, const char* name);
// Shows the text, or hides the hint when the text is empty.
void ShowHint(QLabel* hint, const QString& text);
