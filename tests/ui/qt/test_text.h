// Text helpers of the widget tests: Qt string literals, Qt strings shown when
// a check fails, and the Windows-1251 form of a UTF-8 literal.
#pragma once

#include <QString>
#include <ostream>

#include "platform/text/codepage.h"

using namespace Qt::StringLiterals;

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

inline AnsiString Ansi(const char* utf8) {
    return platform::Utf8ToCp1251(utf8);
}
