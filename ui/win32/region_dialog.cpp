#include "ui/win32/region_dialog.h"

#include <commctrl.h>

#include <utility>
#include <vector>

#include "platform/text/codepage.h"
#include "ui/win32/debug_note.h"
#include "ui/win32/exception_box.h"
#include "ui/win32/type_editor.h"
#include "ui/win32/wide_text.h"

namespace {

// The layout's sizes in the original font's pixels.
constexpr int kClientWidth = 407;
constexpr int kClientHeight = 284;
constexpr int kMargin = 10;
constexpr int kToolButtonWidth = 60;
constexpr int kToolButtonHeight = 40;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kCheckHeight = 17;

enum Control : int { kList = 100, kAdd, kSet, kDel, kAuto };

}  // namespace

TfmRegion::TfmRegion(std::filesystem::path storeFile) : form_(*this, std::move(storeFile)) {}

void TfmRegion::Run(HWND owner) {
    TModalDialog::Run(owner, u"Список региональных обновлений",
                      WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, kClientWidth,
                      kClientHeight);
}

void TfmRegion::OnOpen() {
    const int toolbarLeft = kClientWidth - kToolButtonWidth - kMargin / 2;
    const int buttonTop = kClientHeight - kButtonHeight - kMargin;
    const int checkTop = buttonTop - kMargin - kCheckHeight;
    List = AddControl(WC_LISTBOXW, u"",
                      WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                      kMargin, kMargin, toolbarLeft - 2 * kMargin, checkTop - 2 * kMargin, kList);
    const auto toolButton = [&](int index, std::u16string_view caption, int id) {
        return AddControl(WC_BUTTONW, caption, BS_PUSHBUTTON | WS_TABSTOP, toolbarLeft,
                          kMargin + index * kToolButtonHeight, kToolButtonWidth, kToolButtonHeight,
                          id);
    };
    sbAdd = toolButton(0, u"Добавить", kAdd);
    sbSet = toolButton(1, u"Изменить", kSet);
    sbDel = toolButton(2, u"Удалить", kDel);
    cbAuto = AddControl(WC_BUTTONW, u"Автоматический запуск программы при входе",
                        BS_AUTOCHECKBOX | WS_TABSTOP, kMargin, checkTop, kClientWidth - 2 * kMargin,
                        kCheckHeight, kAuto);
    // Of the cancel kind: Esc and the close box press it; Enter presses nothing.
    AddControl(WC_BUTTONW, u"Закрыть", BS_PUSHBUTTON | WS_TABSTOP,
               kClientWidth - kButtonWidth - kMargin, buttonTop, kButtonWidth, kButtonHeight,
               IDCANCEL);
    form_.Open();
}

void TfmRegion::OnCommand(int id, int code) {
    switch (id) {
        case kList:
            if (code == LBN_SELCHANGE) {
                form_.ListClick();
            } else if (code == LBN_DBLCLK) {
                form_.ListDblClick();
            }
            break;
        case kAdd:
            form_.sbAddClick();
            break;
        case kSet:
            form_.sbSetClick();
            break;
        case kDel:
            form_.sbDelClick();
            break;
        case IDCANCEL:
            form_.FormClose();
            End(IDCANCEL);
            break;
        default:
            break;
    }
}

void TfmRegion::AppendRow(std::u16string_view text) {
    ::SendMessageW(List, LB_ADDSTRING, 0, LPARAM(Wide(text).c_str()));
}

void TfmRegion::SetRowText(int row, std::u16string_view text) {
    const auto selected = ::SendMessageW(List, LB_GETCURSEL, 0, 0);
    ::SendMessageW(List, LB_DELETESTRING, row, 0);
    ::SendMessageW(List, LB_INSERTSTRING, row, LPARAM(Wide(text).c_str()));
    ::SendMessageW(List, LB_SETCURSEL, selected, 0);
}

void TfmRegion::RemoveRow(int row) {
    ::SendMessageW(List, LB_DELETESTRING, row, 0);
}

void TfmRegion::SelectRow(int row) {
    ::SendMessageW(List, LB_SETCURSEL, row, 0);
}

int TfmRegion::SelectedRow() const {
    return int(::SendMessageW(List, LB_GETCURSEL, 0, 0));
}

void TfmRegion::EnableRowButtons(bool enabled) {
    ::EnableWindow(sbSet, enabled);
    ::EnableWindow(sbDel, enabled);
}

void TfmRegion::SetAutoRun(bool checked) {
    ::SendMessageW(cbAuto, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool TfmRegion::AutoRun() const {
    return ::SendMessageW(cbAuto, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool TfmRegion::RunTypeEditor(TDD& type, const TDL& types) {
    TfmRegEdit editor(type, types);
    return editor.Run(Dialog());
}

void TfmRegion::ShowSaveError(const std::string& message) {
    ShowExceptionBox(Dialog(), platform::Utf8ToUtf16(message));
}

void TfmRegion::Note(const std::string& text) {
    DebugNote(text);
}
