// The program's title before it sets its own, as the single-instance error
// box shows it.
#pragma once

#include <QString>

// The executable's file name up to its first dot, every character after the
// first in lower case.
QString DefaultTitle(const QString& executableFileName);
