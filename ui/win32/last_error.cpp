#include "ui/win32/last_error.h"

#include <windows.h>

#include <system_error>

#include "platform/system/error_text_win32.h"

void ThrowLastError(const char* what) {
    throw std::system_error(int(::GetLastError()), platform::Win32Category(), what);
}
