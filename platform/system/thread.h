// The worker-thread base class, and the hand-over of calls from workers to
// the main (window) thread through a dispatcher the host installs.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

namespace platform {

// A thread that runs Execute() once. The most derived class calls Start() at
// the end of its constructor, so the body starts as soon as the object is
// built (and not before it is complete).
// The owner ends it with Terminate() and WaitFor() before deleting it: the
// destructor does both itself if the owner did not, but by then the derived
// part is gone, so an Execute that still uses it must have ended before.
// An exception escaping Execute ends the thread; its message goes to standard
// error.
class TThread {
  public:
    virtual ~TThread();
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    // Asks Execute to end; Execute notices it through Terminated().
    void Terminate();
    bool Terminated() const;

    // Blocks until the thread has ended; returns at once when it has been
    // waited for already. Called on the main thread while a dispatcher is
    // installed, it keeps running Synchronize calls meanwhile, so a worker
    // that reports to the main thread while it is being stopped can finish,
    // and the dispatcher's pump, if any. Only the owner calls it.
    void WaitFor();

    // True once Execute has returned or thrown.
    bool Finished() const;
    // Waits up to `timeout` for Execute to end; true when it has. Runs no
    // Synchronize calls: for an owner without a dispatcher, which then
    // still calls WaitFor.
    bool WaitFinished(std::chrono::milliseconds timeout);

  protected:
    TThread() = default;

    // Starts the thread; throws std::logic_error when called a second time.
    void Start();

    virtual void Execute() = 0;

    // Runs `method` on the main thread while this thread waits for it; an
    // exception it throws is thrown again here. Without a dispatcher, or when
    // called on the main thread, runs it directly on the calling thread.
    void Synchronize(const std::function<void()>& method);

  private:
    void Run();

    std::thread thread_;
    std::atomic<bool> terminated_{false};
    std::atomic<bool> finished_{false};
};

// Makes the calling thread the main thread. `wake` is called from worker
// threads when a Synchronize call is waiting: it must make the main thread
// call CheckSynchronize() soon (a window posts itself a queued call), and it
// must not block. Throws std::logic_error when a dispatcher is installed
// already, std::invalid_argument when `wake` is empty.
//
// `pump`, when given, is how the main thread waits inside WaitFor: a call
// blocks until `wake` has been called or the host has work of its own (a
// window's messages: the status it repaints, a press of a button, a question
// another program sends it), does that work and returns. WaitFor calls it
// until the thread has ended; with a pump installed an ending thread calls
// `wake` too, so that the last wait returns. Without a pump WaitFor blocks on
// its own and the host's work waits until it returns.
void InstallMainThreadDispatcher(std::function<void()> wake, std::function<void()> pump = {});

// Called on the main thread. Waits for calls of the wake function that are
// under way (after this returns it is never called again), then runs the
// Synchronize calls still waiting; later ones run directly on their own
// threads. Does nothing when none is installed.
void RemoveMainThreadDispatcher();

// Called on the main thread: runs the Synchronize calls waiting now and
// returns whether there were any. False when no dispatcher is installed;
// throws std::logic_error on another thread.
bool CheckSynchronize();

}  // namespace platform
