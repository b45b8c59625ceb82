// Runs the workers' Synchronize calls on the thread of the Qt event loop: while
// an object of this class exists, a worker's hand-over wakes the loop with a
// queued call, and the loop runs it between other events.
#pragma once

#include <QObject>

class TQtDispatcher : public QObject {
    Q_OBJECT

  public:
    // Makes the calling thread, which must run the Qt event loop, the main
    // thread of the workers. Throws std::logic_error when a dispatcher is
    // installed already.
    TQtDispatcher();
    // Runs the hand-overs still waiting and removes the dispatcher; later
    // hand-overs run on their workers' own threads.
    ~TQtDispatcher() override;

    TQtDispatcher(const TQtDispatcher&) = delete;
    TQtDispatcher& operator=(const TQtDispatcher&) = delete;
};
