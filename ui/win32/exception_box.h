// The application's standard exception box (ui/forms/exception_text.h) under
// the application's title, with an error icon and an OK button.
#pragma once

#include <windows.h>

#include <string_view>

// Shows the box modally and returns when the operator has closed it.
void ShowExceptionBox(HWND owner, std::u16string_view message);
