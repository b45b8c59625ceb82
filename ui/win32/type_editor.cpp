#include "ui/win32/type_editor.h"

#include <commctrl.h>

#include <utility>

#include "ui/win32/directory_dialog.h"
#include "ui/win32/field_editor.h"
#include "ui/win32/window_text.h"

namespace {

// The layout's sizes in the original font's pixels.
constexpr int kClientWidth = 800;
constexpr int kClientHeight = 490;
constexpr int kMargin = 8;
constexpr int kCaptionHeight = 16;
constexpr int kControlHeight = 21;
constexpr int kRowGap = 5;
constexpr int kInset = 150;  // where the control of a one-line row starts
constexpr int kBrowseWidth = 25;
constexpr int kDropDownHeight = 150;  // of a drop-down's list
constexpr int kNameWidth = 130;
constexpr int kNumberWidth = 50;
constexpr int kToolButtonWidth = 60;
constexpr int kToolButtonHeight = 40;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr COLORREF kNavy = RGB(0, 0, 128);

enum Control : int {
    kTexts = 200,  // + TRegEditText
    kCodec = 210,
    kSpecProd,
    kRoleBoxes = 220,  // + TRole
    kBrowseFrom = 230,
    kBrowseTo,
    kList = 240,
    kAdd,
    kSet,
    kDel,
};

constexpr const char16_t* kRoleCaptions[] = {u"Поле начального номера", u"Поле конечного номера",
                                             u"Поле кода объекта учета", u"Поле шифра региона",
                                             u"Поле типа знака"};

void Place(HWND control, int x, int y, int width, int height) {
    ::MoveWindow(control, x, y, width, height, FALSE);
}

void SetListText(HWND list, int row, int column, std::u16string_view text) {
    std::wstring wide = Wide(text);
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = wide.data();
    ::SendMessageW(list, LVM_SETITEMTEXTW, row, LPARAM(&item));
}

void ShowRow(HWND list, int row, const TFieldRow& shown) {
    SetListText(list, row, 0, shown.Name);
    SetListText(list, row, 1, shown.Size);
    SetListText(list, row, 2, shown.Code);
    SetListText(list, row, 3, shown.ACode);
}

}  // namespace

TfmRegEdit::TfmRegEdit(TDD& type, const TDL& types) : form_(*this, type, &types) {}

bool TfmRegEdit::Run(HWND owner) {
    // No system menu and no buttons: it ends by OK or "Отмена" only.
    return TModalDialog::Run(owner, u"Региональное обновление",
                             WS_POPUP | WS_CAPTION | WS_THICKFRAME, kClientWidth,
                             kClientHeight) == IDOK;
}

void TfmRegEdit::OnOpen() {
    const auto caption = [&](std::u16string_view text) {
        return AddControl(WC_STATICW, text, SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0);
    };
    const auto edit = [&](TRow& row, std::u16string_view text, TRegEditText which, bool twoLines) {
        row.Caption = caption(text);
        row.Control = AddControl(WC_EDITW, u"", ES_AUTOHSCROLL | WS_TABSTOP, 0, 0, 0, 0,
                                 kTexts + int(which), WS_EX_CLIENTEDGE);
        row.TwoLines = twoLines;
    };
    edit(edName_, u"Описание", TRegEditText::Name, true);
    nameHint_ = AddControl(WC_STATICW, u"", SS_RIGHT | SS_NOPREFIX, 0, 0, 0, 0);
    edit(edFrom_, u"Каталог исходных обновлений", TRegEditText::From, true);
    edFrom_.Browse =
        AddControl(WC_BUTTONW, u"...", BS_PUSHBUTTON | WS_TABSTOP, 0, 0, 0, 0, kBrowseFrom);
    cbCodec_.Caption = caption(u"Тип исходных обновлений");
    cbCodec_.Control = AddControl(WC_COMBOBOXW, u"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0,
                                  0, 0, 0, kCodec);
    cbCodec_.TwoLines = true;
    for (const wchar_t* item : {L"Транспортный формат (/<код>=<значение>)",
                                L"Транспортный формат (Московская область)"}) {
        ::SendMessageW(cbCodec_.Control, CB_ADDSTRING, 0, LPARAM(item));
    }
    edit(edMask_, u"Маска файла обновления", TRegEditText::Mask, false);
    edit(edIdent_, u"Идентификатор группы", TRegEditText::Ident, false);
    edit(edTo_, u"Каталог преобразованных обновлений", TRegEditText::To, true);
    edTo_.Browse =
        AddControl(WC_BUTTONW, u"...", BS_PUSHBUTTON | WS_TABSTOP, 0, 0, 0, 0, kBrowseTo);
    cbSpecProd_ = AddControl(WC_BUTTONW, u"БД спецпродукции", BS_AUTOCHECKBOX | WS_TABSTOP, 0, 0, 0,
                             0, kSpecProd);
    for (const TRole role : kRoles) {
        TRow& row = RowOf(role);
        row.Caption = caption(kRoleCaptions[int(role)]);
        row.Control =
            AddControl(WC_COMBOBOXW, u"", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP,
                       0, 0, 0, 0, kRoleBoxes + int(role));
    }

    group_ = AddControl(WC_BUTTONW, u"Поля преобразованного обновления", BS_GROUPBOX, 0, 0, 0, 0);
    List =
        AddControl(WC_LISTVIEWW, u"",
                   LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER | WS_TABSTOP,
                   0, 0, 0, 0, kList, WS_EX_CLIENTEDGE);
    ::SendMessageW(List, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    const struct {
        const wchar_t* caption;
        int width;
        int format;
    } columns[] = {{L"Имя поля", kNameWidth, LVCFMT_LEFT},
                   {L"Размер", kNumberWidth, LVCFMT_CENTER},
                   {L"Код", kNumberWidth, LVCFMT_CENTER},
                   {L"А. код", kNumberWidth, LVCFMT_CENTER}};
    for (int i = 0; i < int(std::size(columns)); ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.fmt = columns[i].format;
        column.cx = Scale().X(columns[i].width);
        column.pszText = const_cast<wchar_t*>(columns[i].caption);
        ::SendMessageW(List, LVM_INSERTCOLUMNW, i, LPARAM(&column));
    }
    const auto toolButton = [&](std::u16string_view text, int id) {
        return AddControl(WC_BUTTONW, text, BS_PUSHBUTTON | WS_TABSTOP, 0, 0, 0, 0, id);
    };
    sbAdd = toolButton(u"Добавить", kAdd);
    sbSet = toolButton(u"Изменить", kSet);
    sbDel = toolButton(u"Удалить", kDel);
    btOk_ = AddControl(WC_BUTTONW, u"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 0, 0, 0, IDOK);
    btCancel_ = AddControl(WC_BUTTONW, u"Отмена", BS_PUSHBUTTON | WS_TABSTOP, 0, 0, 0, 0, IDCANCEL);

    RECT client;
    ::GetClientRect(Dialog(), &client);
    OnSize(client.right, client.bottom);
    form_.Open();
    open_ = true;
}

void TfmRegEdit::OnSize(int width, int height) {
    if (btOk_ == nullptr) {
        return;  // before the controls exist
    }
    const TLayoutScale& s = Scale();
    const int half = width / 2;
    const int margin = s.X(kMargin);
    const int controlHeight = s.Y(kControlHeight);
    const int captionHeight = s.Y(kCaptionHeight);
    int y = s.Y(kMargin);
    const auto place = [&](const TRow& row, bool dropDown) {
        const int extra = dropDown ? s.Y(kDropDownHeight) : 0;
        if (row.TwoLines) {
            Place(row.Caption, margin, y, half - 2 * margin, captionHeight);
            y += captionHeight;
            const int browse = row.Browse != nullptr ? s.X(kBrowseWidth) : 0;
            Place(row.Control, margin, y, half - 2 * margin - browse, controlHeight + extra);
            if (row.Browse != nullptr) {
                Place(row.Browse, half - margin - browse, y, browse, controlHeight);
            }
        } else {
            Place(row.Caption, margin, y + s.Y(3), s.X(kInset) - margin, captionHeight);
            Place(row.Control, s.X(kInset), y, half - s.X(kInset) - margin, controlHeight + extra);
        }
        y += controlHeight + s.Y(kRowGap);
    };
    Place(nameHint_, s.X(kInset), y, half - s.X(kInset) - margin, captionHeight);
    place(edName_, false);
    place(edFrom_, false);
    place(cbCodec_, true);
    place(edMask_, false);
    place(edIdent_, false);
    place(edTo_, false);
    Place(cbSpecProd_, margin, y, half - 2 * margin, controlHeight);
    y += controlHeight + s.Y(kRowGap);
    for (const TRow& row : roles_) {
        place(row, true);
    }

    const int buttonTop = height - margin - s.Y(kButtonHeight);
    Place(btCancel_, width - margin - s.X(kButtonWidth), buttonTop, s.X(kButtonWidth),
          s.Y(kButtonHeight));
    Place(btOk_, width - 2 * margin - 2 * s.X(kButtonWidth), buttonTop, s.X(kButtonWidth),
          s.Y(kButtonHeight));

    const int groupLeft = half + margin / 2;
    const int groupTop = s.Y(4);
    const int groupWidth = width - groupLeft - margin;
    const int groupHeight = buttonTop - margin - groupTop;
    Place(group_, groupLeft, groupTop, groupWidth, groupHeight);
    const int inner = groupTop + s.Y(18);
    const int toolLeft = groupLeft + groupWidth - margin - s.X(kToolButtonWidth);
    Place(List, groupLeft + margin, inner, toolLeft - s.X(4) - groupLeft - margin,
          groupTop + groupHeight - margin - inner);
    const HWND tools[] = {sbAdd, sbSet, sbDel};
    for (int i = 0; i < 3; ++i) {
        Place(tools[i], toolLeft, inner + i * s.Y(kToolButtonHeight), s.X(kToolButtonWidth),
              s.Y(kToolButtonHeight));
    }
    ::InvalidateRect(Dialog(), nullptr, TRUE);
}

void TfmRegEdit::OnCommand(int id, int code) {
    if (!open_) {
        return;
    }
    if (id >= kTexts && id <= kTexts + int(TRegEditText::To)) {
        if (code == EN_CHANGE) {
            form_.edNameChange();
        }
        return;
    }
    switch (id) {
        case kCodec:
            if (code == CBN_SELCHANGE) {
                form_.cbCodecChange();
            }
            break;
        case kSpecProd:
            form_.cbSpecProdClick();
            break;
        case kBrowseFrom:
            form_.edFromButtonClick();
            break;
        case kBrowseTo:
            form_.edToButtonClick();
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
        case IDOK:
            // Enter presses the default button only while it can be pressed.
            if (::IsWindowEnabled(btOk_)) {
                form_.ButtonsClickOk();
            }
            break;
        case IDCANCEL:
            End(IDCANCEL);
            break;
        default:
            break;
    }
}

bool TfmRegEdit::OnNotify(const NMHDR& header, LRESULT& result) {
    if (!open_) {
        return false;
    }
    switch (header.code) {
        case HDN_BEGINTRACKW:
        case HDN_BEGINTRACKA:
        case HDN_DIVIDERDBLCLICKW:
        case HDN_DIVIDERDBLCLICKA:
            result = TRUE;  // the columns' widths are fixed
            return true;
        default:
            break;
    }
    if (header.idFrom != UINT_PTR(kList)) {
        return false;
    }
    switch (header.code) {
        case LVN_ITEMCHANGED: {
            const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
            if ((change.uChanged & LVIF_STATE) != 0 &&
                ((change.uOldState ^ change.uNewState) & LVIS_SELECTED) != 0) {
                form_.ListSelectItem();
            }
            return false;
        }
        case NM_DBLCLK:
            form_.ListDblClick();
            return false;
        case NM_CUSTOMDRAW: {
            const auto& draw = reinterpret_cast<const NMLVCUSTOMDRAW&>(header);
            if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) {
                result = CDRF_NOTIFYITEMDRAW;
            } else if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
                result = CDRF_NOTIFYSUBITEMDRAW;
            } else if (draw.nmcd.dwDrawStage == (CDDS_ITEMPREPAINT | CDDS_SUBITEM)) {
                // The numbers in navy, the name in the default colour.
                const_cast<NMLVCUSTOMDRAW&>(draw).clrText =
                    draw.iSubItem > 0 ? kNavy : ::GetSysColor(COLOR_WINDOWTEXT);
                result = CDRF_DODEFAULT;
            } else {
                result = CDRF_DODEFAULT;
            }
            return true;
        }
        default:
            return false;
    }
}

TfmRegEdit::TRow& TfmRegEdit::RowOf(TRegEditText which) {
    return const_cast<TRow&>(std::as_const(*this).RowOf(which));
}

const TfmRegEdit::TRow& TfmRegEdit::RowOf(TRegEditText which) const {
    switch (which) {
        case TRegEditText::Name:
            return edName_;
        case TRegEditText::From:
            return edFrom_;
        case TRegEditText::Mask:
            return edMask_;
        case TRegEditText::Ident:
            return edIdent_;
        case TRegEditText::To:
            break;
    }
    return edTo_;
}

TfmRegEdit::TRow& TfmRegEdit::RowOf(TRole role) {
    return roles_[size_t(role)];
}

const TfmRegEdit::TRow& TfmRegEdit::RowOf(TRole role) const {
    return roles_[size_t(role)];
}

std::u16string TfmRegEdit::Text(TRegEditText which) const {
    return WindowText(RowOf(which).Control);
}

void TfmRegEdit::SetText(TRegEditText which, std::u16string_view text) {
    ::SetWindowTextW(RowOf(which).Control, Wide(text).c_str());
}

void TfmRegEdit::ShowNameHint(std::u16string_view text) {
    ::SetWindowTextW(nameHint_, Wide(text).c_str());
}

int TfmRegEdit::Codec() const {
    return int(::SendMessageW(cbCodec_.Control, CB_GETCURSEL, 0, 0));
}

void TfmRegEdit::SetCodec(int index) {
    ::SendMessageW(cbCodec_.Control, CB_SETCURSEL, index, 0);
}

bool TfmRegEdit::SpecProd() const {
    return ::SendMessageW(cbSpecProd_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TfmRegEdit::SetSpecProd(bool checked) {
    ::SendMessageW(cbSpecProd_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TfmRegEdit::EnableRole(TRole role, bool enabled) {
    ::EnableWindow(RowOf(role).Caption, enabled);
    ::EnableWindow(RowOf(role).Control, enabled);
}

std::u16string TfmRegEdit::RoleText(TRole role) const {
    return WindowText(RowOf(role).Control);
}

void TfmRegEdit::SetRoleText(TRole role, std::u16string_view text) {
    ::SetWindowTextW(RowOf(role).Control, Wide(text).c_str());
}

void TfmRegEdit::SetRoleItems(const std::vector<std::u16string>& names) {
    for (const TRow& row : roles_) {
        // Emptying the list empties the box's text too: it is put back.
        const std::u16string text = WindowText(row.Control);
        ::SendMessageW(row.Control, CB_RESETCONTENT, 0, 0);
        for (const std::u16string& name : names) {
            ::SendMessageW(row.Control, CB_ADDSTRING, 0, LPARAM(Wide(name).c_str()));
        }
        ::SetWindowTextW(row.Control, Wide(text).c_str());
    }
}

void TfmRegEdit::SetCodeColumn(std::u16string_view caption) {
    std::wstring wide = Wide(caption);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT;
    column.pszText = wide.data();
    ::SendMessageW(List, LVM_SETCOLUMNW, 2, LPARAM(&column));
}

void TfmRegEdit::AppendFieldRow(const TFieldRow& row) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = int(::SendMessageW(List, LVM_GETITEMCOUNT, 0, 0));
    std::wstring name = Wide(row.Name);
    item.pszText = name.data();
    const auto index = int(::SendMessageW(List, LVM_INSERTITEMW, 0, LPARAM(&item)));
    ShowRow(List, index, row);
}

void TfmRegEdit::SetFieldRow(int row, const TFieldRow& shown) {
    ShowRow(List, row, shown);
}

void TfmRegEdit::RemoveFieldRow(int row) {
    ::SendMessageW(List, LVM_DELETEITEM, row, 0);
}

void TfmRegEdit::SelectFieldRow(int row) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = 0;
    ::SendMessageW(List, LVM_SETITEMSTATE, WPARAM(-1), LPARAM(&item));
    if (row >= 0) {
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        ::SendMessageW(List, LVM_SETITEMSTATE, row, LPARAM(&item));
        ::SendMessageW(List, LVM_ENSUREVISIBLE, row, FALSE);
    }
}

int TfmRegEdit::SelectedFieldRow() const {
    return int(::SendMessageW(List, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED));
}

int TfmRegEdit::TopVisibleFieldRow() const {
    if (::SendMessageW(List, LVM_GETITEMCOUNT, 0, 0) == 0) {
        return -1;
    }
    return int(::SendMessageW(List, LVM_GETTOPINDEX, 0, 0));
}

void TfmRegEdit::EnableFieldButtons(bool enabled) {
    ::EnableWindow(sbSet, enabled);
    ::EnableWindow(sbDel, enabled);
}

void TfmRegEdit::EnableOk(bool enabled) {
    ::EnableWindow(btOk_, enabled);
}

bool TfmRegEdit::RunFieldEditor(TDF& field, const TDD& type) {
    TfmField editor(field, type);
    return editor.Run(Dialog());
}

std::optional<std::u16string> TfmRegEdit::ChooseFolder(std::u16string_view start) {
    return ChooseDirectory(Dialog(), start);
}

void TfmRegEdit::CloseOk() {
    End(IDOK);
}
