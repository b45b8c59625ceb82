// Drives widgets as the operator does: the window made active, clicks and
// key presses sent through the toolkit's event queue.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
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

// A double click at `at` in the list's viewport: press, release, double
// click, release, as the toolkit receives them.
inline void DoubleClick(QAbstractItemView* list, QPoint at) {
    QWidget* viewport = list->viewport();
    const QPointF local(at);
    const QPointF global(viewport->mapToGlobal(at));
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                              QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton);
        QMouseEvent event(type, local, global, Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(viewport, &event);
    }
}
