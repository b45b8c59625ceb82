#include "ui/qt/default_title.h"

#include "ui/forms/default_title.h"
#include "ui/qt/ansi_text.h"

namespace {

std::u16string Lower(std::u16string_view text) {
    return FromU16(text).toLower().toStdU16String();
}

}  // namespace

QString DefaultTitle(const QString& executableFileName) {
    return FromU16(DefaultTitle(executableFileName.toStdU16String(), Lower));
}
