// What becomes of an error that reaches the top of the program or of a window
// procedure: it is shown in the standard exception box.
#pragma once

#include <windows.h>

// Called inside a catch block: shows the box for the exception being handled
// over `owner`; an exception not derived from std::exception has an empty
// message.
void ShowCurrentException(HWND owner = nullptr);

// Runs a handler. An exception it throws is shown as above and the program
// goes on: it must not unwind through the system's frames of a window
// procedure.
template <typename Handler>
void RunHandler(HWND owner, Handler&& handler) {
    try {
        handler();
    } catch (...) {
        ShowCurrentException(owner);
    }
}
