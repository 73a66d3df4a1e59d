#include "searches/search_worker.hpp"

#include <chrono>
#include <memory>

#include "solver/search_gate.hpp"
#include "solver/search_thread.hpp"

namespace tx {

namespace {

// One cube on its way to the main thread. The posted task owns it, so a task that runs
// after the worker gave up waiting (a stop) still finds it valid.
struct Handoff {
    FaceletCube cube;
    std::mutex mutex;
    std::condition_variable cv;
    bool taken = false;
};

}  // namespace

SearchWorker::~SearchWorker() {
    requestStop();
    join();
}

void SearchWorker::prepare(Events* events, Sink sink) {
    join();
    stop_ = false;
    found_ = 0;
    events_ = events;
    sink_ = std::move(sink);
    running_ = true;
}

void SearchWorker::start(Events* events, Sink sink, EndHandler onEnd) {
    prepare(events, std::move(sink));
    thread_ = std::jthread([this, onEnd = std::move(onEnd)] {
        lowerThreadPriority();
        SearchGate& gate = SearchGate::instance();
        gate.enter(stop_);
        gated_ = true;
        search();
        gated_ = false;
        gate.leave();
        const bool stopped = stopRequested();
        running_ = false;
        if (!onEnd) return;
        if (events_)
            events_->post([onEnd, stopped] { onEnd(stopped); });
        else
            onEnd(stopped);
    });
}

bool SearchWorker::run(Sink sink) {
    prepare(nullptr, std::move(sink));
    search();
    running_ = false;
    return !stopRequested();
}

void SearchWorker::requestStop() {
    stop_ = true;
    SearchGate::instance().wakeAll();
}

void SearchWorker::join() {
    if (thread_.joinable()) thread_.join();
}

void SearchWorker::takeTurn() {
    if (gated_) SearchGate::instance().takeTurn(stop_);
}

void SearchWorker::deliver(const FaceletCube& cube) {
    ++found_;
    if (events_)
        handToMainThread(cube);
    else if (sink_)
        sink_(cube);
}

void SearchWorker::handToMainThread(const FaceletCube& cube) {
    auto handoff = std::make_shared<Handoff>();
    handoff->cube = cube;
    events_->post([handoff, sink = sink_] {
        if (sink) sink(handoff->cube);
        std::lock_guard lock(handoff->mutex);
        handoff->taken = true;
        handoff->cv.notify_all();
    });
    // The worker waits for its cube to be taken, so results never pile up in the event
    // queue; a stop ends the wait.
    std::unique_lock lock(handoff->mutex);
    while (!handoff->taken && !stopRequested())
        handoff->cv.wait_for(lock, std::chrono::milliseconds(20));
}

}  // namespace tx
