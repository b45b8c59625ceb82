#include "ui/win32/exception_box.h"

#include "ui/forms/exception_text.h"
#include "ui/win32/application_title.h"
#include "ui/win32/wide_text.h"

void ShowExceptionBox(HWND owner, std::u16string_view message) {
    ::MessageBoxW(owner, Wide(ExceptionBoxText(message)).c_str(), Wide(ApplicationTitle()).c_str(),
                  MB_OK | MB_ICONERROR);
}
