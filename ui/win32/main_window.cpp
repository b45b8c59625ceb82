#include "ui/win32/main_window.h"

#include <commctrl.h>

#include <utility>

#include "ui/win32/application_title.h"
#include "ui/win32/debug_note.h"
#include "ui/win32/last_error.h"
#include "ui/win32/region_dialog.h"
#include "ui/win32/uncaught_error.h"
#include "ui/win32/wide_text.h"

namespace {

constexpr wchar_t kClassName[] = L"TfmMain";
constexpr wchar_t kToolbarClassName[] = L"KvadrelToolbar";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr UINT kFirstShown = WM_APP;  // the window is on the screen

// The layout's sizes in the original font's pixels (TLayoutScale).
constexpr int kClientWidth = 385;
constexpr int kClientHeight = 90;
constexpr int kToolbarHeight = 29;
constexpr int kButtonWidth = 75;
constexpr int kBarMargin = 3;
constexpr int kStatusBarHeight = 25;

// The buttons' command identifiers, in the toolbar's order.
enum Command : int { kStart = 100, kStop, kRegion, kHelp, kExit };

HWND Child(const wchar_t* className, const wchar_t* text, DWORD style, HWND parent, int x, int y,
           int width, int height, int id = 0) {
    const HWND child =
        ::CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                          parent, HMENU(INT_PTR(id)), ::GetModuleHandleW(nullptr), nullptr);
    if (child == nullptr) {
        ThrowLastError("cannot make a control of the main window");
    }
    return child;
}

// The toolbar: a groove along its top, and its buttons' presses handed to the window.
LRESULT CALLBACK ToolbarProc(HWND toolbar, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            const HDC dc = ::BeginPaint(toolbar, &paint);
            RECT area;
            ::GetClientRect(toolbar, &area);
            ::DrawEdge(dc, &area, EDGE_ETCHED, BF_TOP);
            ::EndPaint(toolbar, &paint);
            return 0;
        }
        case WM_COMMAND:
            return ::SendMessageW(::GetParent(toolbar), message, wParam, lParam);
        default:
            return ::DefWindowProcW(toolbar, message, wParam, lParam);
    }
}

void Register(const wchar_t* name, WNDPROC procedure, HBRUSH background, HICON icon) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.hIcon = icon;
    windowClass.lpszClassName = name;
    if (::RegisterClassExW(&windowClass) == 0 && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        ThrowLastError("cannot register the main window");
    }
}

}  // namespace

TfmMain::TfmMain(TDeltaSettings settings)
    : window_(CreateWindowAndControls()),
      paneStatus_(Panel),
      barProgress_(Bar),
      storeFile_(settings.StoreFile) {
    try {
        form_ = std::make_unique<TMainForm>(static_cast<TMainView&>(*this), std::move(settings));
        ::SetWindowLongPtrW(window_, GWLP_USERDATA, LONG_PTR(this));
    } catch (...) {
        ::DestroyWindow(window_);
        throw;
    }
}

TfmMain::~TfmMain() {
    // The messages handled while the form ends a worker still running find
    // no form; the worker's last reports go to the window's controls, if any.
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    form_.reset();
    if (::IsWindow(window_)) {
        ::DestroyWindow(window_);
    }
}

HWND TfmMain::CreateWindowAndControls() {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    // The executable's icon (resource 1), when it has one.
    const HICON icon = ::LoadIconW(instance, MAKEINTRESOURCEW(1));
    Register(kClassName, WindowProc, ::GetSysColorBrush(COLOR_BTNFACE), icon);
    Register(kToolbarClassName, ToolbarProc, ::GetSysColorBrush(COLOR_BTNFACE), nullptr);

    const TLayoutScale& scale = font_.Scale();
    RECT frame{0, 0, scale.X(kClientWidth), scale.Y(kClientHeight)};
    ::AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
    const HWND window = ::CreateWindowExW(
        0, kClassName, Wide(ApplicationTitle()).c_str(), kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
        frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        ThrowLastError("cannot make the main window");
    }
    try {
        const int width = scale.X(kClientWidth);
        const int toolbarHeight = scale.Y(kToolbarHeight);
        RzToolbar1 =
            Child(kToolbarClassName, L"", WS_CLIPCHILDREN, window, 0, 0, width, toolbarHeight);
        Start = AddButton(0, L"Старт");
        Stop = AddButton(1, L"Стоп");
        Region = AddButton(2, L"Настройка");
        Help = AddButton(3, L"Справка");
        Exit = AddButton(4, L"Выход");

        const int statusHeight = scale.Y(kStatusBarHeight);
        const int statusTop = scale.Y(kClientHeight) - statusHeight;
        // No size grip: the window's size is fixed.
        Info_Panel = Child(STATUSCLASSNAMEW, L"", CCS_NORESIZE | CCS_NOPARENTALIGN, window, 0,
                           statusTop, width, statusHeight);
        RECT inside;
        ::GetClientRect(Info_Panel, &inside);
        Panel = Child(WC_STATICW, L"", SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX, Info_Panel,
                      inside.left + 2, inside.top + 2, inside.right - 4, inside.bottom - 2);

        const int marginX = scale.X(kBarMargin);
        const int marginY = scale.Y(kBarMargin);
        Bar = CreateLedBar(window, marginX, toolbarHeight + marginY, width - 2 * marginX,
                           statusTop - toolbarHeight - 2 * marginY);
        font_.Apply(window);
    } catch (...) {
        ::DestroyWindow(window);
        throw;
    }
    return window;
}

HWND TfmMain::AddButton(int index, const wchar_t* caption) {
    const TLayoutScale& scale = font_.Scale();
    // Below the groove along the toolbar's top.
    const int groove = 2;
    return Child(WC_BUTTONW, caption, BS_PUSHBUTTON | WS_TABSTOP, RzToolbar1,
                 index * scale.X(kButtonWidth), groove, scale.X(kButtonWidth),
                 scale.Y(kToolbarHeight) - groove, kStart + index);
}

void TfmMain::Show(int how) {
    ::ShowWindow(window_, how);
    ::UpdateWindow(window_);
}

LRESULT CALLBACK TfmMain::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Set once the window's form exists; until then the window is only being built.
    auto* self = reinterpret_cast<TfmMain*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    LRESULT result = 0;
    RunHandler(window, [&] { result = self->OnMessage(message, wParam, lParam); });
    return result;
}

LRESULT TfmMain::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SHOWWINDOW:
            if (wParam != 0) {
                // After the show has been painted, as the operator sees it.
                ::PostMessageW(window_, kFirstShown, 0, 0);
            }
            break;
        case kFirstShown:
            form_->FormShow();
            return 0;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case kStart:
                    form_->StartExecute();
                    return 0;
                case kStop:
                    form_->StopExecute();
                    return 0;
                case kRegion:
                    form_->RegionExecute();
                    return 0;
                case kExit:
                    form_->ExitExecute();
                    return 0;
                default:
                    break;
            }
            break;
        case WM_CLOSE:
            // Refused silently while the worker runs.
            if (form_->CloseQuery()) {
                ::DestroyWindow(window_);
            }
            return 0;
        case WM_QUERYENDSESSION:
            return form_->CloseQuery() ? TRUE : FALSE;
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return ::DefWindowProcW(window_, message, wParam, lParam);
}

void TfmMain::EnableActions(const TMainActions& enabled) {
    ::EnableWindow(Start, enabled.Start);
    ::EnableWindow(Stop, enabled.Stop);
    ::EnableWindow(Region, enabled.Region);
    ::EnableWindow(Help, enabled.Help);
    ::EnableWindow(Exit, enabled.Exit);
}

void TfmMain::SetStatus(std::u16string_view text) {
    ShowPaneText(Panel, Wide(text).c_str());
}

void TfmMain::RunUpdateList() {
    TfmRegion dialog(storeFile_);
    dialog.Run(window_);
}

void TfmMain::CloseWindow() {
    ::SendMessageW(window_, WM_CLOSE, 0, 0);
}

// The worker reports the store's problems when it starts.
void TfmMain::Note(const std::string& text) {
    DebugNote(text);
}
