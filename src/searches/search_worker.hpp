#pragma once
// A search that enumerates cubes on a thread of its own: the common part of the symmetry and
// pattern searches. Each cube found goes to a sink in the order of the enumeration; a stop is a
// cooperative flag that the search tests at every step, so it ends promptly.
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "cube/facelet_cube.hpp"
#include "platform/events.hpp"

namespace tx {

class SearchWorker {
public:
    using Sink = std::function<void(const FaceletCube&)>;
    // Runs after the search has ended; `stopped` tells whether a stop ended it.
    using EndHandler = std::function<void(bool stopped)>;

    SearchWorker() = default;
    virtual ~SearchWorker();  // asks the search to stop and waits for its thread
    SearchWorker(const SearchWorker&) = delete;
    SearchWorker& operator=(const SearchWorker&) = delete;

    // Runs the search on a thread of its own below normal priority. With events, every cube
    // is handed to the sink on the main thread and the worker waits until it has been taken
    // (or a stop is requested); the end handler is posted there after the search. Without
    // events both run on the worker thread.
    void start(Events* events, Sink sink, EndHandler onEnd = {});
    // Runs the search on the calling thread; the sink is called directly. Answers whether it
    // ran to its end (false when stopped).
    bool run(Sink sink);

    void requestStop();
    bool stopRequested() const { return stop_.load(std::memory_order_relaxed); }
    bool running() const { return running_.load(); }
    void join();
    // Number of cubes handed to the sink so far.
    long long found() const { return found_.load(); }

protected:
    // The enumeration; it tests stopRequested() at every step and hands cubes to deliver().
    virtual void search() = 0;
    void deliver(const FaceletCube& cube);
    // Lets other gated searches compute now and then (long enumerations on the desktop).
    void takeTurn();

private:
    void prepare(Events* events, Sink sink);
    void handToMainThread(const FaceletCube& cube);

    std::atomic<bool> stop_{false};
    std::atomic<bool> running_{false};
    std::atomic<long long> found_{0};
    Events* events_ = nullptr;
    Sink sink_;
    bool gated_ = false;
    std::mutex handoffMutex_;
    std::condition_variable handoffCv_;
    std::jthread thread_;
};

}  // namespace tx
