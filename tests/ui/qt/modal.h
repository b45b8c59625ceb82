// Drives a dialog that the code under test runs modally with exec(): the
// check runs from the dialog's own event loop, and a dialog that is missing or
// left open is closed, so that a failing test cannot hang.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

// Call right before the call that opens the dialog.
template <class Dialog>
void WhenModal(std::function<void(Dialog&)> drive) {
    QTimer::singleShot(0, [drive] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* dialog = qobject_cast<Dialog*>(modal);
        if (dialog == nullptr) {
            ADD_FAILURE() << "the expected dialog does not run modally";
            if (modal != nullptr) {
                modal->close();
            }
            return;
        }
        drive(*dialog);
        if (dialog->isVisible()) {
            ADD_FAILURE() << "the dialog was left open";
            dialog->close();
        }
    });
}
