// The configuration keeps its texts in Windows-1251; the widgets show UTF-16.
#pragma once

#include <QString>
#include <string_view>

#include "platform/text/codepage.h"

inline QString FromAnsi(const AnsiString& text) {
    return QString::fromStdU16String(platform::Cp1251ToUtf16(text));
}

// A character Windows-1251 cannot hold becomes "?".
inline AnsiString ToAnsi(const QString& text) {
    return platform::Utf16ToCp1251(text.toStdU16String());
}

inline QString FromU16(std::u16string_view text) {
    return QString::fromUtf16(text.data(), qsizetype(text.size()));
}
