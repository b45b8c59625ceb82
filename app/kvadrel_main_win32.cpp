// kvadrel.exe: the converter's window on Windows. One copy runs at a time; an
// error that reaches the top is shown in the standard exception box, and the
// exit code is always 0. The command line is not used.
#include <windows.h>

#include <commctrl.h>

#include <memory>

#include "platform/system/program_lock.h"
#include "ui/win32/application_title.h"
#include "ui/win32/main_window.h"
#include "ui/win32/uncaught_error.h"

namespace {

void RunMessageLoop(HWND window) {
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!::IsDialogMessageW(window, &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show) {
    // Held until the process ends; the system frees it however the process ends.
    std::unique_ptr<platform::SingleInstanceLock> lock;
    try {
        const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                            ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
        ::InitCommonControlsEx(&controls);
        lock = platform::AcquireProgramLock();
        SetApplicationTitle(u"Пребразователь обновлений в DBase");
        TfmMain window;
        window.Show(show);
        RunMessageLoop(window.Window());
    } catch (...) {
        ShowCurrentException();
    }
    return 0;
}
