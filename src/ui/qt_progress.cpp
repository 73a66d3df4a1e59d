#include "ui/qt_progress.hpp"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QThread>

#include <climits>

namespace tx::ui {

namespace {

// Runs f on the thread of the given object: at once when that is this thread, else queued.
template <class F>
void onGuiThread(QObject* context, F f) {
    if (!context) return;
    if (QThread::currentThread() == context->thread())
        f();
    else
        QMetaObject::invokeMethod(context, f, Qt::QueuedConnection);
}

}  // namespace

QtProgress::QtProgress(QLabel* label, QProgressBar* bar) : label_(label), bar_(bar) {}

void QtProgress::setLabel(const std::string& text) {
    QPointer<QLabel> label = label_;
    onGuiThread(label_, [label, t = QString::fromStdString(text)] {
        if (label) label->setText(t);
    });
}

void QtProgress::setRange(long long minimum, long long maximum) {
    minimum_ = minimum;
    divisor_ = 1;
    while ((maximum - minimum) / divisor_ > INT_MAX) divisor_ *= 2;
    int top = static_cast<int>((maximum - minimum) / divisor_);
    QPointer<QProgressBar> bar = bar_;
    onGuiThread(bar_, [bar, top] {
        if (bar) bar->setRange(0, top);
    });
}

void QtProgress::setPosition(long long position) {
    int value = static_cast<int>((position - minimum_) / divisor_);
    QPointer<QProgressBar> bar = bar_;
    onGuiThread(bar_, [bar, value] {
        if (bar) bar->setValue(value);
    });
}

void QtProgress::setVisible(bool visible) {
    QPointer<QLabel> label = label_;
    QPointer<QProgressBar> bar = bar_;
    onGuiThread(bar_ ? static_cast<QObject*>(bar_) : label_, [label, bar, visible] {
        if (label) label->setVisible(visible);
        if (bar) bar->setVisible(visible);
    });
}

void QtProgress::pump() {
    if (QCoreApplication::instance() &&
        QThread::currentThread() == QCoreApplication::instance()->thread())
        QCoreApplication::processEvents();
}

}  // namespace tx::ui
