#include "solver/fast_run.hpp"

#include "solver/search_gate.hpp"
#include "solver/search_thread.hpp"

namespace tx {

FastRun::FastRun(TableSet tables, const CubieCube& cube) : tables_(std::move(tables)), cube_(cube) {}

FastRun::~FastRun() {
    requestStop();
    join();
}

void FastRun::requestStop() {
    stop_.store(true, std::memory_order_relaxed);
    if (task_) SearchPool::instance().expedite(task_);
    SearchGate::instance().wakeAll();  // a run still waiting for its turn leaves at once
}

void FastRun::join() {
    if (!task_) return;
    SearchPool::instance().wait(task_);
    task_.reset();
}

void FastRun::start(int maxLength, Events& events, std::function<void()> onEnd) {
    join();
    stop_ = false;
    task_ = SearchPool::instance().run([this, maxLength, &events, onEnd = std::move(onEnd)] {
        lowerThreadPriority();
        SearchGate& gate = SearchGate::instance();
        gate.enter(stop_);
        FastOptions o;
        o.maxLength = maxLength;
        o.stop = &stop_;
        o.takeTurns = true;
        result_ = solveFast(tables_, cube_, o);
        gate.leave();
        events.post(onEnd);
    });
}

}  // namespace tx
