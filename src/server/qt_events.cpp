#include "server/qt_events.hpp"

#include <QThread>

namespace tx {

void QtEvents::post(std::function<void()> task) {
    QMetaObject::invokeMethod(this, [task = std::move(task)] { task(); }, Qt::QueuedConnection);
}

void QtEvents::invoke(std::function<void()> task) {
    if (QThread::currentThread() == thread()) {
        task();
        return;
    }
    QMetaObject::invokeMethod(this, [&task] { task(); }, Qt::BlockingQueuedConnection);
}

}  // namespace tx
