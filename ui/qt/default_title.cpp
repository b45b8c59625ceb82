#include "ui/qt/default_title.h"

QString DefaultTitle(const QString& executableFileName) {
    const QString name = executableFileName.section(u'.', 0, 0);
    return name.left(1) + name.mid(1).toLower();
}
