#include "ui/win32/message_dispatcher.h"

#include "platform/system/thread.h"
#include "ui/win32/last_error.h"

namespace {

constexpr wchar_t kClassName[] = L"KvadrelHandOver";
constexpr UINT kHandOver = WM_APP;

LRESULT CALLBACK HandOverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kHandOver) {
        // The hand-over's own exceptions go back to its worker.
        platform::CheckSynchronize();
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

HWND MakeWindow() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = HandOverProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kClassName;
    if (::RegisterClassExW(&windowClass) == 0 && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        ThrowLastError("cannot register the hand-over window");
    }
    const HWND window = ::CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                          windowClass.hInstance, nullptr);
    if (window == nullptr) {
        ThrowLastError("cannot make the hand-over window");
    }
    return window;
}

}  // namespace

TMessageDispatcher::TMessageDispatcher() : window_(MakeWindow()) {
    try {
        // Called on the worker's thread: a posted message never blocks.
        platform::InstallMainThreadDispatcher(
            [window = window_] {
                if (!::PostMessageW(window, kHandOver, 0, 0)) {
                    ThrowLastError("cannot hand the worker's report to the window");
                }
            },
            PumpMessages);
    } catch (...) {
        ::DestroyWindow(window_);
        throw;
    }
}

TMessageDispatcher::~TMessageDispatcher() {
    platform::RemoveMainThreadDispatcher();
    ::DestroyWindow(window_);
}

void PumpMessages() {
    MSG message;
    if (!::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        // Also returns for a message another thread sends: it is handled
        // inside the wait's next PeekMessage.
        ::MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        return;
    }
    // No WM_QUIT comes here: the main window does not close while a worker runs.
    do {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    } while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
}
