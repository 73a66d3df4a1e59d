#pragma once
// Events for the desktop program: closures run in the Qt event loop of the thread that owns
// this object (the GUI thread). invoke() from the GUI thread itself runs the closure at once;
// from a worker it waits until the GUI thread has run it.
#include <QObject>

#include "platform/events.hpp"

namespace tx::ui {

class QtEvents : public QObject, public Events {
    Q_OBJECT
public:
    explicit QtEvents(QObject* parent = nullptr) : QObject(parent) {}
    void post(std::function<void()> task) override;
    void invoke(std::function<void()> task) override;
};

}  // namespace tx::ui
