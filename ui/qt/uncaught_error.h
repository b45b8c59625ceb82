// What becomes of an error that reaches the top of the program or of an event
// handler: it is shown in the standard exception box.
#pragma once

// Called inside a catch block: writes "title: text" of the standard exception
// box for the exception being handled to standard error, and shows the box;
// an exception not derived from std::exception has an empty message. Without
// a screen (the offscreen and minimal platforms) nobody could see or answer
// the box, so there it is only written.
void ShowCurrentException();

// Runs an event handler. An exception it throws is shown as above and the
// program goes on: the toolkit's own frames must not be unwound by it.
template <typename Handler>
void RunHandler(Handler&& handler) {
    try {
        handler();
    } catch (...) {
        ShowCurrentException();
    }
}
