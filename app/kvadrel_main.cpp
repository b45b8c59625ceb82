// kvadrel: the converter's window. One copy runs at a time; an error that
// reaches the top is shown in the standard exception box, and the exit code is
// always 0.
#include <QApplication>
#include <QIcon>
#include <memory>

#include "platform/system/program_lock.h"
#include "platform/system/program_name.h"
#include "ui/qt/application_title.h"
#include "ui/qt/main_window.h"
#include "ui/qt/toolkit_russian.h"
#include "ui/qt/uncaught_error.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    InstallToolkitRussian(application);
    // The installed theme's icon, else the one built in.
    QApplication::setWindowIcon(QIcon::fromTheme(platform::kProgramName, QIcon(":/kvadrel.svg")));
    // Held until the process ends; the system frees it however the process ends.
    std::unique_ptr<platform::SingleInstanceLock> lock;
    try {
        lock = platform::AcquireProgramLock();
        SetApplicationTitle(QStringLiteral("Пребразователь обновлений в DBase"));
        TfmMain window;
        window.show();
        QApplication::exec();
    } catch (...) {
        ShowCurrentException();
    }
    return 0;
}
