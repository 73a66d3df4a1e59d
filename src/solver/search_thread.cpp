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

void SearchThread::requestStop() {
    ida_->requestStop();
    if (task_) SearchPool::instance().expedite(task_);
}

void SearchThread::join() {
    if (!task_) return;
    SearchPool::instance().wait(task_);
    task_.reset();
}

void SearchThread::start(Events& events, std::function<void()> onEnd) {
    join();  // a thread object runs one search at a time
    finished_ = false;
    task_ = SearchPool::instance().run([this, &events, onEnd = std::move(onEnd)] {
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
