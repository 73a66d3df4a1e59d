#pragma once
// Events backed by the Qt event loop of the thread that created the object, for programs
// that run the web server without the desktop window (the command line, the tests).
// post() queues a closure; invoke() runs it at once on the owning thread, otherwise waits
// until the owning thread has run it.
#include <QObject>

#include "platform/events.hpp"

namespace tx {

class MainThreadEvents : public QObject, public Events {
    Q_OBJECT
public:
    explicit MainThreadEvents(QObject* parent = nullptr) : QObject(parent) {}
    void post(std::function<void()> task) override;
    void invoke(std::function<void()> task) override;
};

}  // namespace tx
