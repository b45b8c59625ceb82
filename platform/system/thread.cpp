#include "platform/system/thread.h"

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <exception>
#include <mutex>
#include <stdexcept>
#include <string>
#include <utility>

namespace platform {
namespace {

// One Synchronize call; it lives on the waiting worker's stack.
struct Request {
    explicit Request(const std::function<void()>& call) : method(&call) {}

    const std::function<void()>* method;
    std::exception_ptr error;
    bool done = false;
};

struct Dispatcher {
    std::mutex mutex;
    std::condition_variable requestQueued;  // or a thread finished: the main thread may be waiting
    std::condition_variable requestDone;
    std::condition_variable wakesEnded;
    std::function<void()> wake;
    std::function<void()> pump;  // empty: WaitFor blocks on its own
    int wakesRunning = 0;        // calls of `wake` not yet returned
    std::thread::id mainThread;  // no thread while none is installed
    std::deque<Request*> pending;

    // The caller holds `mutex`.
    bool Installed() const { return mainThread != std::thread::id(); }
    bool OnMainThread() const { return mainThread == std::this_thread::get_id(); }
};

Dispatcher& TheDispatcher() {
    static Dispatcher dispatcher;
    return dispatcher;
}

// Runs requests taken from the queue, on the calling thread and without the
// lock. A request's worker may free it as soon as it is marked done.
void Serve(Dispatcher& dispatcher, const std::deque<Request*>& requests) {
    for (Request* request : requests) {
        try {
            (*request->method)();
        } catch (...) {
            request->error = std::current_exception();
        }
        {
            const std::lock_guard lock(dispatcher.mutex);
            request->done = true;
        }
        dispatcher.requestDone.notify_all();
    }
}

void RequireMainThread(const Dispatcher& dispatcher, const char* function) {
    if (!dispatcher.OnMainThread()) {
        throw std::logic_error(std::string(function) + " called outside the main thread");
    }
}

}  // namespace

TThread::~TThread() {
    if (thread_.joinable()) {
        Terminate();
        WaitFor();
    }
}

void TThread::Terminate() {
    terminated_ = true;
}

bool TThread::Terminated() const {
    return terminated_;
}

bool TThread::Finished() const {
    return finished_;
}

bool TThread::WaitFinished(std::chrono::milliseconds timeout) {
    Dispatcher& dispatcher = TheDispatcher();
    std::unique_lock lock(dispatcher.mutex);
    return dispatcher.requestQueued.wait_for(lock, timeout, [&] { return finished_.load(); });
}

void TThread::Start() {
    if (thread_.joinable() || finished_) {
        throw std::logic_error("a thread can be started only once");
    }
    thread_ = std::thread(&TThread::Run, this);
}

void TThread::Run() {
    try {
        Execute();
    } catch (const std::exception& error) {
        // The last resort, and so allowed to write to standard error by
        // itself: nothing above this thread can hear what escapes it (the
        // worker's Execute sends its own errors through its channel).
        std::fputs(("thread ended by an exception: " + std::string(error.what()) + "\n").c_str(),
                   stderr);
    } catch (...) {
        std::fputs("thread ended by an exception of unknown type\n", stderr);
    }
    Dispatcher& dispatcher = TheDispatcher();
    std::unique_lock lock(dispatcher.mutex);
    finished_ = true;
    // A main thread waiting in its pump learns of the end only by a wake.
    const bool wakePump = dispatcher.Installed() && dispatcher.pump;
    if (wakePump) {
        ++dispatcher.wakesRunning;
    }
    lock.unlock();
    dispatcher.requestQueued.notify_all();
    if (!wakePump) {
        return;
    }
    try {
        dispatcher.wake();
    } catch (const std::exception& error) {
        std::fputs(
            ("thread ended but could not wake the main thread: " + std::string(error.what()) + "\n")
                .c_str(),
            stderr);
    } catch (...) {
        std::fputs("thread ended but could not wake the main thread\n", stderr);
    }
    lock.lock();
    if (--dispatcher.wakesRunning == 0) {
        dispatcher.wakesEnded.notify_all();
    }
}

void TThread::WaitFor() {
    if (!thread_.joinable()) {
        return;
    }
    Dispatcher& dispatcher = TheDispatcher();
    std::unique_lock lock(dispatcher.mutex);
    if (dispatcher.Installed() && dispatcher.OnMainThread() && dispatcher.pump) {
        // The host's own copy: removing the dispatcher inside the pump leaves it whole.
        const std::function<void()> pump = dispatcher.pump;
        while (!finished_) {
            const auto requests = std::exchange(dispatcher.pending, {});
            lock.unlock();
            Serve(dispatcher, requests);
            pump();
            lock.lock();
        }
    } else if (dispatcher.Installed() && dispatcher.OnMainThread()) {
        for (;;) {
            dispatcher.requestQueued.wait(lock,
                                          [&] { return finished_ || !dispatcher.pending.empty(); });
            if (dispatcher.pending.empty()) {
                break;
            }
            const auto requests = std::exchange(dispatcher.pending, {});
            lock.unlock();
            Serve(dispatcher, requests);
            lock.lock();
        }
    }
    lock.unlock();
    thread_.join();
}

void TThread::Synchronize(const std::function<void()>& method) {
    Dispatcher& dispatcher = TheDispatcher();
    std::unique_lock lock(dispatcher.mutex);
    if (!dispatcher.Installed() || dispatcher.OnMainThread()) {
        lock.unlock();
        method();
        return;
    }
    Request request(method);
    dispatcher.pending.push_back(&request);
    // The wake function stays in place while a call of it runs: removing the
    // dispatcher waits for those calls to return.
    ++dispatcher.wakesRunning;
    lock.unlock();
    dispatcher.requestQueued.notify_all();
    std::exception_ptr wakeError;
    try {
        dispatcher.wake();
    } catch (...) {
        wakeError = std::current_exception();
    }
    lock.lock();
    if (--dispatcher.wakesRunning == 0) {
        dispatcher.wakesEnded.notify_all();
    }
    if (wakeError) {
        // Unless the main thread has taken it already, the request must not
        // stay queued once this frame is gone.
        const auto queued =
            std::find(dispatcher.pending.begin(), dispatcher.pending.end(), &request);
        if (queued != dispatcher.pending.end()) {
            dispatcher.pending.erase(queued);
            std::rethrow_exception(wakeError);
        }
    }
    dispatcher.requestDone.wait(lock, [&] { return request.done; });
    lock.unlock();
    if (wakeError) {
        std::rethrow_exception(wakeError);
    }
    if (request.error) {
        std::rethrow_exception(request.error);
    }
}

void InstallMainThreadDispatcher(std::function<void()> wake, std::function<void()> pump) {
    if (!wake) {
        throw std::invalid_argument("a main-thread dispatcher needs a wake function");
    }
    Dispatcher& dispatcher = TheDispatcher();
    const std::lock_guard lock(dispatcher.mutex);
    if (dispatcher.Installed()) {
        throw std::logic_error("a main-thread dispatcher is installed already");
    }
    dispatcher.wake = std::move(wake);
    dispatcher.pump = std::move(pump);
    dispatcher.mainThread = std::this_thread::get_id();
}

void RemoveMainThreadDispatcher() {
    Dispatcher& dispatcher = TheDispatcher();
    std::unique_lock lock(dispatcher.mutex);
    if (!dispatcher.Installed()) {
        return;
    }
    RequireMainThread(dispatcher, "RemoveMainThreadDispatcher");
    dispatcher.mainThread = std::thread::id();
    // The host may destroy what its wake function uses once this returns.
    dispatcher.wakesEnded.wait(lock, [&] { return dispatcher.wakesRunning == 0; });
    dispatcher.wake = nullptr;
    dispatcher.pump = nullptr;
    const auto requests = std::exchange(dispatcher.pending, {});
    lock.unlock();
    Serve(dispatcher, requests);
}

bool CheckSynchronize() {
    Dispatcher& dispatcher = TheDispatcher();
    std::unique_lock lock(dispatcher.mutex);
    if (!dispatcher.Installed()) {
        return false;
    }
    RequireMainThread(dispatcher, "CheckSynchronize");
    const auto requests = std::exchange(dispatcher.pending, {});
    lock.unlock();
    Serve(dispatcher, requests);
    return !requests.empty();
}

}  // namespace platform
