#include "ui/qt/uncaught_error.h"

#include <QGuiApplication>
#include <cstdio>
#include <exception>

#include "ui/qt/application_title.h"
#include "ui/qt/exception_box.h"

namespace {

bool HasScreen() {
    const QString platform = QGuiApplication::platformName();
    return platform != u"offscreen" && platform != u"minimal";
}

QString CurrentMessage() {
    try {
        throw;
    } catch (const std::exception& error) {
        return QString::fromUtf8(error.what());
    } catch (...) {
        return QString();
    }
}

}  // namespace

void ShowCurrentException() {
    const QString message = CurrentMessage();
    std::fprintf(stderr, "%s: %s\n", ApplicationTitle().toUtf8().constData(),
                 ExceptionBoxText(message).toUtf8().constData());
    std::fflush(stderr);
    if (HasScreen()) {
        ShowExceptionBox(nullptr, message);
    }
}
