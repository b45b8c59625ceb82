#include "ui/qt/application_title.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <optional>

#include "ui/qt/default_title.h"

namespace {

std::optional<QString>& TitleSet() {
    static std::optional<QString> title;
    return title;
}

}  // namespace

QString ApplicationTitle() {
    if (const auto& title = TitleSet()) {
        return *title;
    }
    return DefaultTitle(QFileInfo(QCoreApplication::applicationFilePath()).fileName());
}

void SetApplicationTitle(const QString& title) {
    TitleSet() = title;
}
