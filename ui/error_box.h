// The program's error boxes: the standard exception box that shows an error
// reaching the top of the program or of an event handler, and the rules for
// its text and caption.
#pragma once

#include <QString>

// The text shown for an error message: the message with a full stop appended
// when the code of its last character is greater than that of '.'; so a
// message ending in a letter gets one, one ending in '.', '!' or ')' does not.
QString WithFullStop(const QString& message);

// The program's title before it sets its own: the executable's file name up
// to its first dot, every character after the first in lower case.
QString DefaultTitle(const QString& executableFileName);

// Writes "caption: text" to standard error and shows a modal box with an
// error icon and an OK button. Without a screen (the offscreen and minimal
// platforms) nobody could see or answer the box, so there it is only written.
void ShowErrorBox(const QString& caption, const QString& text);

// The standard exception box: the message by WithFullStop, the application's
// current title (its display name) as the caption.
void ShowExceptionBox(const QString& message);

// Called inside a catch block: shows the exception being handled in the
// standard exception box; one not derived from std::exception with an empty
// message.
void ShowCurrentException();

// Runs an event handler. An exception it throws is shown in the standard
// exception box and the program goes on: the toolkit's own frames must not be
// unwound by it.
template <typename Handler>
void RunHandler(Handler&& handler) {
    try {
        handler();
    } catch (...) {
        ShowCurrentException();
    }
}
