#include "ui/win32/uncaught_error.h"

#include <exception>
#include <string>

#include "platform/text/codepage.h"
#include "ui/win32/exception_box.h"

namespace {

std::u16string CurrentMessage() {
    try {
        throw;
    } catch (const std::exception& error) {
        return platform::Utf8ToUtf16(error.what());
    } catch (...) {
        return {};
    }
}

}  // namespace

void ShowCurrentException(HWND owner) {
    ShowExceptionBox(owner, CurrentMessage());
}
