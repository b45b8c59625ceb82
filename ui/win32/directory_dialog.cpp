#include "ui/win32/directory_dialog.h"

#include <commctrl.h>

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "ui/win32/modal_dialog.h"
#include "ui/win32/window_text.h"

namespace {

namespace fs = std::filesystem;

// The layout's sizes in the original font's pixels.
constexpr int kClientWidth = 360;
constexpr int kClientHeight = 307;
constexpr int kMargin = 8;
constexpr int kCaptionHeight = 16;
constexpr int kRowHeight = 21;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kListWidth = 260;

enum Control : int { kName = 400, kFolders, kDrives, kHelp };

// The drives an operator keeps update folders on, as the system lists them.
std::vector<std::wstring> BrowsableDrives() {
    std::vector<wchar_t> names(::GetLogicalDriveStringsW(0, nullptr) + 1);
    names.resize(::GetLogicalDriveStringsW(DWORD(names.size()), names.data()));
    std::vector<std::wstring> drives;
    for (const wchar_t* name = names.data(); *name != L'\0'; name += std::wcslen(name) + 1) {
        switch (::GetDriveTypeW(name)) {
            case DRIVE_REMOVABLE:
            case DRIVE_FIXED:
            case DRIVE_REMOTE:
            case DRIVE_CDROM:
            case DRIVE_RAMDISK:
                drives.emplace_back(name);
                break;
            default:
                break;
        }
    }
    return drives;
}

bool IsFolder(const fs::path& path) {
    std::error_code error;
    return !path.empty() && fs::is_directory(path, error);
}

class TDirectoryDialog final : public TModalDialog {
  public:
    explicit TDirectoryDialog(std::u16string_view start) {
        std::error_code error;
        folder_ = IsFolder(fs::path(start)) ? fs::absolute(fs::path(start), error)
                                            : fs::current_path(error);
    }

    std::optional<std::u16string> Run(HWND owner) {
        if (TModalDialog::Run(owner, u"Выбор каталога",
                              WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, kClientWidth,
                              kClientHeight) != IDOK) {
            return std::nullopt;
        }
        return folder_.u16string();
    }

  private:
    void OnOpen() override {
        const int buttonLeft = kClientWidth - kMargin - kButtonWidth;
        AddControl(WC_STATICW, u"Имя каталога", SS_LEFT, kMargin, kMargin,
                   kClientWidth - 2 * kMargin, kCaptionHeight);
        name_ = AddControl(WC_EDITW, u"", ES_AUTOHSCROLL | WS_TABSTOP, kMargin,
                           kMargin + kCaptionHeight, kClientWidth - 2 * kMargin, kRowHeight, kName,
                           WS_EX_CLIENTEDGE);
        const int listTop = 2 * kMargin + kCaptionHeight + kRowHeight;
        AddControl(WC_STATICW, u"Каталоги", SS_LEFT, kMargin, listTop, kListWidth, kCaptionHeight);
        const int drivesTop = kClientHeight - kMargin - kRowHeight - kCaptionHeight;
        folders_ =
            AddControl(WC_LISTBOXW, u"",
                       WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                       kMargin, listTop + kCaptionHeight, kListWidth,
                       drivesTop - kMargin - listTop - kCaptionHeight, kFolders);
        AddControl(WC_STATICW, u"Диски", SS_LEFT, kMargin, drivesTop, kListWidth, kCaptionHeight);
        drives_ = AddControl(WC_COMBOBOXW, u"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, kMargin,
                             drivesTop + kCaptionHeight, kListWidth, 150, kDrives);
        AddControl(WC_BUTTONW, u"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, buttonLeft,
                   listTop + kCaptionHeight, kButtonWidth, kButtonHeight, IDOK);
        AddControl(WC_BUTTONW, u"Отмена", BS_PUSHBUTTON | WS_TABSTOP, buttonLeft,
                   listTop + kCaptionHeight + kButtonHeight + kMargin, kButtonWidth, kButtonHeight,
                   IDCANCEL);
        const HWND help = AddControl(WC_BUTTONW, u"Справка", BS_PUSHBUTTON | WS_TABSTOP, buttonLeft,
                                     listTop + kCaptionHeight + 2 * (kButtonHeight + kMargin),
                                     kButtonWidth, kButtonHeight, kHelp);
        ::EnableWindow(help, FALSE);
        for (const std::wstring& drive : BrowsableDrives()) {
            ::SendMessageW(drives_, CB_ADDSTRING, 0, LPARAM(drive.c_str()));
        }
        Show(folder_);
    }

    void OnCommand(int id, int code) override {
        switch (id) {
            case kFolders:
                if (code == LBN_DBLCLK) {
                    Enter(WindowTextOfSelected());
                }
                break;
            case kDrives:
                if (code == CBN_SELCHANGE) {
                    Show(fs::path(Wide(WindowText(drives_))));
                }
                break;
            case IDOK: {
                // What is typed, when it is a folder; else the operator goes on.
                const fs::path typed(Wide(WindowText(name_)));
                if (!IsFolder(typed)) {
                    ::MessageBeep(MB_ICONWARNING);
                    break;
                }
                std::error_code error;
                folder_ = fs::absolute(typed, error);
                End(IDOK);
                break;
            }
            case IDCANCEL:
                End(IDCANCEL);
                break;
            default:
                break;
        }
    }

    std::wstring WindowTextOfSelected() const {
        const auto row = ::SendMessageW(folders_, LB_GETCURSEL, 0, 0);
        if (row < 0) {
            return {};
        }
        std::wstring text(size_t(::SendMessageW(folders_, LB_GETTEXTLEN, row, 0)) + 1, L'\0');
        text.resize(size_t(::SendMessageW(folders_, LB_GETTEXT, row, LPARAM(text.data()))));
        return text;
    }

    void Enter(const std::wstring& name) {
        if (name.empty()) {
            return;
        }
        Show(name == L".." ? folder_.parent_path() : folder_ / name);
    }

    // Makes `folder` the current one: its name, its subfolders, its drive.
    void Show(const fs::path& folder) {
        if (!IsFolder(folder)) {
            ::MessageBeep(MB_ICONWARNING);
            return;
        }
        folder_ = folder;
        ::SetWindowTextW(name_, folder_.c_str());
        std::vector<std::wstring> names;
        std::error_code error;
        for (fs::directory_iterator entry(folder_, error), end; !error && entry != end;
             entry.increment(error)) {
            std::error_code kind;
            if (entry->is_directory(kind)) {
                names.push_back(entry->path().filename().wstring());
            }
        }
        std::ranges::sort(names);
        ::SendMessageW(folders_, LB_RESETCONTENT, 0, 0);
        if (folder_.has_relative_path()) {
            ::SendMessageW(folders_, LB_ADDSTRING, 0, LPARAM(L".."));
        }
        for (const std::wstring& name : names) {
            ::SendMessageW(folders_, LB_ADDSTRING, 0, LPARAM(name.c_str()));
        }
        const std::wstring root = folder_.root_path().wstring();
        ::SendMessageW(drives_, CB_SELECTSTRING, WPARAM(-1), LPARAM(root.c_str()));
    }

    fs::path folder_;
    HWND name_ = nullptr;
    HWND folders_ = nullptr;
    HWND drives_ = nullptr;
};

}  // namespace

std::optional<std::u16string> ChooseDirectory(HWND owner, std::u16string_view start) {
    TDirectoryDialog dialog(start);
    return dialog.Run(owner);
}
