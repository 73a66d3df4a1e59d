#include "solver/search_thread.hpp"

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "solver/search_gate.hpp"

namespace tx {

namespace {
std::atomic<bool> idleScheduling{false};
}  // namespace

void useIdleSchedulingForSearches(bool idle) { idleScheduling = idle; }

void lowerThreadPriority() {
    if (idleScheduling) {
        sched_param param{};
        if (::pthread_setschedparam(::pthread_self(), SCHED_IDLE, &param) == 0) return;
    }
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)), 19);
}

SearchThread::~SearchThread() {
    requestStop();
    join();
}

void SearchThread::join() {
    if (thread_.joinable()) thread_.join();
}

void SearchThread::start(Events& events, std::function<void()> onEnd) {
    finished_ = false;
    thread_ = std::jthread([this, &events, onEnd = std::move(onEnd)] {
        lowerThreadPriority();
        SearchGate& gate = SearchGate::instance();
        gate.enter(ida_->stopRequested);
        ida_->run();
        gate.leave();
        finished_ = true;
        events.post(onEnd);
    });
}

}  // namespace tx
