// Runs the event loop of a widget test until something has happened.
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>
#include <chrono>
#include <functional>

// Processes events until `done` holds, looking again after every batch of
// events; false when it does not hold within 30 seconds. A batch takes only
// the events already posted, so a worker that waits for each hand-over gets
// at most one or two of them served between two looks.
inline bool ProcessEventsUntil(const std::function<bool()>& done) {
    QTimer wake;  // lets the loop look again when no event arrives
    wake.start(std::chrono::milliseconds(10));
    const QDeadlineTimer patience(std::chrono::seconds(30));
    while (!done()) {
        if (patience.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}
