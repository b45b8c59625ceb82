#include "ui/win32/field_editor.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>

#include "ui/win32/window_text.h"

namespace {

// The layout's sizes in the original font's pixels.
constexpr int kClientWidth = 360;
constexpr int kClientHeight = 170;
constexpr int kMargin = 8;
constexpr int kRowHeight = 21;
constexpr int kRowStep = 29;
constexpr int kInset = 150;  // where the controls start
constexpr int kNumberWidth = 80;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;

enum Control : int { kName = 300, kNumbers = 310 };  // + TFieldNumber

constexpr TFieldNumber kNumbersInOrder[] = {TFieldNumber::Size, TFieldNumber::Code,
                                            TFieldNumber::ACode};

}  // namespace

TfmField::TfmField(TDF& field, const TDD& type) : form_(*this, field, &type) {}

bool TfmField::Run(HWND owner) {
    // No system menu and no buttons: it ends by OK or "Отмена" only.
    return TModalDialog::Run(owner, u"Поле", WS_POPUP | WS_CAPTION | WS_THICKFRAME, kClientWidth,
                             kClientHeight) == IDOK;
}

void TfmField::OnOpen() {
    // A caption wider than its room (in a wider font than the original's)
    // goes on in a second line, which the row's gap has room for.
    const auto caption = [&](std::u16string_view text, int row) {
        return AddControl(WC_STATICW, text, SS_LEFT | SS_NOPREFIX, kMargin,
                          kMargin + row * kRowStep + 3, kInset - kMargin, kRowStep - 3);
    };
    caption(u"Имя поля", 0);
    edName = AddControl(WC_EDITW, u"", ES_AUTOHSCROLL | WS_TABSTOP, kInset, kMargin,
                        kClientWidth - kInset - kMargin, kRowHeight, kName, WS_EX_CLIENTEDGE);
    // Each caption before its control: the rows' order is the tab order.
    constexpr const char16_t* kCaptions[] = {u"Размер поля", u"Шифр поля",
                                             u"Альтернативный шифр поля"};
    for (const TFieldNumber which : kNumbersInOrder) {
        const int index = int(which);
        const HWND label = caption(kCaptions[index], index + 1);
        if (which == TFieldNumber::Code) {
            lbCode = label;
        } else if (which == TFieldNumber::ACode) {
            lbAddCode = label;
        }
        numbers_[index] = AddControl(WC_EDITW, u"", ES_NUMBER | WS_TABSTOP, kInset,
                                     kMargin + (index + 1) * kRowStep, kNumberWidth, kRowHeight,
                                     kNumbers + index, WS_EX_CLIENTEDGE);
        spins_[index] = AddControl(
            UPDOWN_CLASSW, u"", UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS,
            0, 0, 0, 0);
        ::SendMessageW(spins_[index], UDM_SETBUDDY, WPARAM(numbers_[index]), 0);
        const TNumberRange range = TFieldForm::RangeOf(which);
        ::SendMessageW(spins_[index], UDM_SETRANGE32, range.Minimum, range.Maximum);
    }
    nameHint_ = AddControl(WC_STATICW, u"", SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0);
    btOk_ = AddControl(WC_BUTTONW, u"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 0, 0, 0, IDOK);
    btCancel_ = AddControl(WC_BUTTONW, u"Отмена", BS_PUSHBUTTON | WS_TABSTOP, 0, 0, 0, 0, IDCANCEL);
    RECT client;
    ::GetClientRect(Dialog(), &client);
    OnSize(client.right, client.bottom);
    form_.Open();
    open_ = true;
}

void TfmField::OnSize(int width, int height) {
    if (btCancel_ == nullptr) {
        return;  // before the controls exist
    }
    const TLayoutScale& s = Scale();
    const int margin = s.X(kMargin);
    ::MoveWindow(edName, s.X(kInset), s.Y(kMargin), width - s.X(kInset) - margin, s.Y(kRowHeight),
                 TRUE);
    const int top = height - margin - s.Y(kButtonHeight);
    ::MoveWindow(btCancel_, width - margin - s.X(kButtonWidth), top, s.X(kButtonWidth),
                 s.Y(kButtonHeight), TRUE);
    ::MoveWindow(btOk_, width - 2 * margin - 2 * s.X(kButtonWidth), top, s.X(kButtonWidth),
                 s.Y(kButtonHeight), TRUE);
    // The name's hint beside the buttons, where it has the room of a line.
    ::MoveWindow(nameHint_, margin, top, width - 4 * margin - 2 * s.X(kButtonWidth),
                 s.Y(kButtonHeight), TRUE);
}

void TfmField::OnCommand(int id, int code) {
    if (!open_) {
        return;
    }
    if (id == kName && code == EN_CHANGE) {
        form_.edNameChange();
    } else if (id >= kNumbers && id < kNumbers + int(numbers_.size())) {
        const auto which = TFieldNumber(id - kNumbers);
        if (code == EN_KILLFOCUS) {
            SetNumber(which, Number(which));  // a typed value brought into range
        } else if (code == EN_CHANGE && which == TFieldNumber::Code) {
            form_.seCodeChange(Number(which));
        }
    } else if (id == IDOK) {
        // Enter presses the default button only while it can be pressed.
        if (::IsWindowEnabled(btOk_)) {
            form_.ButtonsClickOk();
        }
    } else if (id == IDCANCEL) {
        End(IDCANCEL);
    }
}

std::u16string TfmField::NameText() const {
    return WindowText(edName);
}

void TfmField::SetNameText(std::u16string_view text) {
    ::SetWindowTextW(edName, Wide(text).c_str());
}

void TfmField::ShowNameHint(std::u16string_view text) {
    ::SetWindowTextW(nameHint_, Wide(text).c_str());
}

int TfmField::Number(TFieldNumber which) const {
    const TNumberRange range = TFieldForm::RangeOf(which);
    const std::wstring text = Wide(WindowText(numbers_[size_t(which)]));
    // Digits only (ES_NUMBER); nothing typed counts as the minimum.
    const long typed = text.empty() ? range.Minimum : std::wcstol(text.c_str(), nullptr, 10);
    return int(std::clamp<long>(typed, range.Minimum, range.Maximum));
}

void TfmField::SetNumber(TFieldNumber which, int value) {
    const TNumberRange range = TFieldForm::RangeOf(which);
    ::SendMessageW(spins_[size_t(which)], UDM_SETPOS32, 0,
                   std::clamp(value, range.Minimum, range.Maximum));
}

void TfmField::SetCodeCaption(std::u16string_view text) {
    ::SetWindowTextW(lbCode, Wide(text).c_str());
}

void TfmField::EnableOk(bool enabled) {
    ::EnableWindow(btOk_, enabled);
}

void TfmField::CloseOk() {
    End(IDOK);
}
