#pragma once
// Events backed by the Qt event loop of the thread that created the object (the GUI thread
// of the desktop program, the main thread of "tesserix-cli serve" and of the tests). post()
// queues a closure; invoke() runs it at once on the owning thread, otherwise waits until the
// owning thread has run it.
#include <QObject>

#include "platform/events.hpp"

namespace tx {

class QtEvents : public QObject, public Events {
    Q_OBJECT
public:
    explicit QtEvents(QObject* parent = nullptr) : QObject(parent) {}
    void post(std::function<void()> task) override;
    void invoke(std::function<void()> task) override;
};

}  // namespace tx
