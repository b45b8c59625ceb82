#include <windows.h>

#include <system_error>

#include "platform/system/console.h"
#include "platform/system/error_text_win32.h"

namespace platform {
namespace {

HANDLE StopEvent() {
    // Manual reset: once asked, the request stays seen.
    static const HANDLE event = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    return event;
}

HANDLE WaitEndEvent() {
    // Auto reset: it ends one wait, under way or the next.
    static const HANDLE event = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
    return event;
}

BOOL WINAPI OnConsoleControl(DWORD type) {
    switch (type) {
        case CTRL_C_EVENT:
        case CTRL_BREAK_EVENT:
        case CTRL_CLOSE_EVENT:
        case CTRL_LOGOFF_EVENT:
        case CTRL_SHUTDOWN_EVENT:
            ::SetEvent(StopEvent());
            return TRUE;  // handled: the process is not ended at once
        default:
            return FALSE;
    }
}

}  // namespace

void CatchStopRequests() {
    if (StopEvent() == nullptr || WaitEndEvent() == nullptr ||
        !::SetConsoleCtrlHandler(OnConsoleControl, TRUE)) {
        throw std::system_error(int(::GetLastError()), Win32Category(),
                                "cannot take the console's stop requests");
    }
}

bool WaitForStopRequest(std::chrono::milliseconds timeout) {
    // A stop request first, when both are there.
    const HANDLE events[] = {StopEvent(), WaitEndEvent()};
    return ::WaitForMultipleObjects(2, events, FALSE, DWORD(timeout.count())) == WAIT_OBJECT_0;
}

void EndStopRequestWait() {
    if (!::SetEvent(WaitEndEvent())) {
        throw std::system_error(int(::GetLastError()), Win32Category(), "cannot end the wait");
    }
}

bool PrepareProgressTerminal() {
    const HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
    DWORD mode = 0;
    if (error == nullptr || error == INVALID_HANDLE_VALUE || !::GetConsoleMode(error, &mode)) {
        return false;  // redirected: not a console
    }
    return ::SetConsoleMode(error, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

std::string ConsoleText(std::string_view utf8) {
    if (utf8.empty()) {
        return {};
    }
    UINT codePage = ::GetConsoleOutputCP();
    if (codePage == 0) {
        codePage = ::GetOEMCP();  // no console: what one would show
    }
    const int units = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring wide(size_t(units), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), wide.data(), units);
    const int bytes =
        ::WideCharToMultiByte(codePage, 0, wide.data(), units, nullptr, 0, nullptr, nullptr);
    std::string text(size_t(bytes), '\0');
    ::WideCharToMultiByte(codePage, 0, wide.data(), units, text.data(), bytes, nullptr, nullptr);
    return text;
}

}  // namespace platform
