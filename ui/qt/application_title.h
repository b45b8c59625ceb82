// The application's title: the main window copies it into its caption, and
// the standard exception box shows it as its caption. It is kept apart from
// the toolkit's application display name, which the window system would
// append to every window's caption.
#pragma once

#include <QString>

// The title set last; before the program sets one, the default title of the
// executable's file name.
QString ApplicationTitle();
void SetApplicationTitle(const QString& title);
