#include "ui/error_box.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <cstdio>
#include <exception>

namespace {

bool HasScreen() {
    const QString platform = QGuiApplication::platformName();
    return platform != u"offscreen" && platform != u"minimal";
}

}  // namespace

QString WithFullStop(const QString& message) {
    if (!message.isEmpty() && message.back() > u'.') {
        return message + u'.';
    }
    return message;
}

QString DefaultTitle(const QString& executableFileName) {
    const QString name = executableFileName.section(u'.', 0, 0);
    return name.left(1) + name.mid(1).toLower();
}

void ShowErrorBox(const QString& caption, const QString& text) {
    std::fprintf(stderr, "%s: %s\n", caption.toUtf8().constData(), text.toUtf8().constData());
    std::fflush(stderr);
    if (HasScreen()) {
        QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok);
        box.exec();
    }
}

void ShowExceptionBox(const QString& message) {
    ShowErrorBox(QGuiApplication::applicationDisplayName(), WithFullStop(message));
}

void ShowCurrentException() {
    try {
        throw;
    } catch (const std::exception& error) {
        ShowExceptionBox(QString::fromUtf8(error.what()));
    } catch (...) {
        ShowExceptionBox(QString());
    }
}
