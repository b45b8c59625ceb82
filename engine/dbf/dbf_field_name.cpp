#include "engine/dbf/dbf_field_name.h"

#include "engine/dbf/dbf_header.h"

namespace dbf {
namespace {

// Latin letters, and every Windows-1251 character of the Cyrillic block
// (Russian, Ukrainian, Belarusian, Serbian and Macedonian letters).
bool IsLetter(char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) {
        return true;
    }
    const char16_t unicode = platform::Cp1251ToUtf16(std::string_view(&c, 1)).front();
    return unicode >= 0x0400 && unicode <= 0x04FF;
}

bool IsNameCharacter(char c) {
    return IsLetter(c) || (c >= '0' && c <= '9') || c == '_';
}

}  // namespace

std::optional<FieldNameFault> CheckFieldName(std::u16string_view name) {
    if (name.empty()) {
        return FieldNameFault::Empty;
    }
    const AnsiString ansi = platform::Utf16ToCp1251(name);
    if (platform::Cp1251ToUtf16(ansi) != name) {
        return FieldNameFault::OutsideCodePage;
    }
    if (ansi.size() > kMaxNameLength) {
        return FieldNameFault::TooLong;
    }
    if (!IsLetter(ansi.front())) {
        return FieldNameFault::NoLeadingLetter;
    }
    for (char c : ansi) {
        if (!IsNameCharacter(c)) {
            return FieldNameFault::BadCharacter;
        }
    }
    return std::nullopt;
}

const char* Describe(FieldNameFault fault) {
    switch (fault) {
        case FieldNameFault::Empty:
            return "the name is empty";
        case FieldNameFault::OutsideCodePage:
            return "the name has characters outside Windows-1251";
        case FieldNameFault::TooLong:
            return "the name is longer than 10 characters";
        case FieldNameFault::NoLeadingLetter:
            return "the name does not start with a letter";
        case FieldNameFault::BadCharacter:
            return "the name may hold only letters, digits and '_'";
    }
    return "the name breaks the field name rules";
}

AnsiString StoredFieldName(std::u16string_view name) {
    return UpperCaseName(platform::Utf16ToCp1251(name));
}

}  // namespace dbf
