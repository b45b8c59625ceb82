// The application's title: the main window copies it into its caption, and
// the standard exception box shows it as its caption.
#pragma once

#include <string>

// The title set last; before the program sets one, the default title of the
// executable's file name.
std::u16string ApplicationTitle();
void SetApplicationTitle(std::u16string title);
