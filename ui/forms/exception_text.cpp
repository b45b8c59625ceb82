#include "ui/forms/exception_text.h"

std::u16string ExceptionBoxText(std::u16string_view message) {
    std::u16string text(message);
    if (!text.empty() && text.back() > u'.') {
        text += u'.';
    }
    return text;
}
