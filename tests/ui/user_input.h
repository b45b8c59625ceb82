// Drives widgets as the operator does: the window made active, clicks and
// key presses sent through the toolkit's event queue.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractSpinBox>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

// Shows the window and makes it the active one, so that it takes focus and
// key presses.
inline ::testing::AssertionResult ShowActive(QWidget& window) {
    window.show();
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window)) {
        return ::testing::AssertionFailure() << "the window did not become active";
    }
    return ::testing::AssertionSuccess();
}

// Clicks into the spin edit and types `text` over what it shows.
inline void TypeInto(QAbstractSpinBox* edit, const QString& text) {
    QLineEdit* line = edit->findChild<QLineEdit*>();
    QTest::mouseClick(line, Qt::LeftButton);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, text);
}

// Presses Tab until `target` has the focus; false when it never gets it.
inline bool TabTo(QWidget* target) {
    for (int tab = 0; tab < 20 && !target->hasFocus(); ++tab) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    return target->hasFocus();
}
