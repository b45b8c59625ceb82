// The widget tests run inside one application object, without a display
// unless QT_QPA_PLATFORM names another platform, with the toolkit's texts in
// Russian as the program has them.
#include <gtest/gtest.h>

#include <QApplication>

#include "ui/qt/toolkit_russian.h"

int main(int argc, char* argv[]) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    InstallToolkitRussian(application);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
