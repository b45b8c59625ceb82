#include <windows.h>

#include <string>

#include "platform/system/error_text_win32.h"
#include "platform/text/codepage.h"

namespace platform {
namespace {

class Win32ErrorCategory : public std::error_category {
  public:
    const char* name() const noexcept override { return "win32"; }

    std::string message(int code) const override {
        wchar_t* text = nullptr;
        const DWORD length = ::FormatMessageW(
            FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                FORMAT_MESSAGE_IGNORE_INSERTS,
            nullptr, DWORD(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
        if (length == 0) {
            return "error " + std::to_string(code);
        }
        std::u16string units(text, text + length);
        ::LocalFree(text);
        while (!units.empty() && (units.back() == u'\n' || units.back() == u'\r' ||
                                  units.back() == u' ' || units.back() == u'.')) {
            units.pop_back();  // the system ends its messages with ".\r\n"
        }
        return Utf16ToUtf8(units);
    }

    std::error_condition default_error_condition(int code) const noexcept override {
        return std::system_category().default_error_condition(code);
    }
};

}  // namespace

const std::error_category& Win32Category() {
    static const Win32ErrorCategory category;
    return category;
}

}  // namespace platform
