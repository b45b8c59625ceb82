// Runs the workers' Synchronize calls on the thread of the window's message
// loop: a worker's hand-over posts a message to a message-only window, whose
// procedure runs it. A WaitFor on that thread waits for messages and handles
// them, so the windows keep painting and answering while a worker ends.
#pragma once

#include <windows.h>

class TMessageDispatcher {
  public:
    // Makes the calling thread, which must run the message loop, the main
    // thread of the workers. Throws std::logic_error when a dispatcher is
    // installed already, std::system_error when its window cannot be made.
    TMessageDispatcher();
    // Runs the hand-overs still waiting and removes the dispatcher.
    ~TMessageDispatcher();

    TMessageDispatcher(const TMessageDispatcher&) = delete;
    TMessageDispatcher& operator=(const TMessageDispatcher&) = delete;

  private:
    HWND window_;
};

// Waits until the thread's queue has a message (or a message sent to one of
// its windows), then handles every message queued: one turn of a message
// loop that returns.
void PumpMessages();
