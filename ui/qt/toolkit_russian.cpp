#include "ui/qt/toolkit_russian.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>

void InstallToolkitRussian(QCoreApplication& application) {
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    auto* translator = new QTranslator(&application);
    if (!translator->load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"),
                          QStringLiteral("_"), folder)) {
        std::fprintf(stderr,
                     "the toolkit's Russian texts (qtbase_ru.qm) are not in %s; "
                     "its own words stay English\n",
                     folder.toLocal8Bit().constData());
        delete translator;
        return;
    }
    QCoreApplication::installTranslator(translator);
}
