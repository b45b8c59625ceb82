#include "ui/qt/qt_dispatcher.h"

#include "platform/system/thread.h"

TQtDispatcher::TQtDispatcher() {
    // Called on the worker's thread: it only posts an event, which is safe
    // from any thread and never blocks.
    platform::InstallMainThreadDispatcher([this] {
        QMetaObject::invokeMethod(
            this, [] { platform::CheckSynchronize(); }, Qt::QueuedConnection);
    });
}

TQtDispatcher::~TQtDispatcher() {
    // No wake call is under way once this returns; the calls it posted are
    // dropped with this object and would find nothing left to run anyway.
    platform::RemoveMainThreadDispatcher();
}
