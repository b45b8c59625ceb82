#include "ui/win32/application_title.h"

#include <windows.h>

#include <optional>
#include <utility>

#include "platform/system/executable_path.h"
#include "ui/forms/default_title.h"
#include "ui/win32/wide_text.h"

namespace {

std::optional<std::u16string>& TitleSet() {
    static std::optional<std::u16string> title;
    return title;
}

// The system's lower case, as Windows gives it to file names.
std::u16string Lower(std::u16string_view text) {
    std::wstring lower = Wide(text);
    ::CharLowerBuffW(lower.data(), DWORD(lower.size()));
    return FromWide(lower);
}

}  // namespace

std::u16string ApplicationTitle() {
    if (const auto& title = TitleSet()) {
        return *title;
    }
    return DefaultTitle(platform::ExecutablePath().filename().u16string(), Lower);
}

void SetApplicationTitle(std::u16string title) {
    TitleSet() = std::move(title);
}
