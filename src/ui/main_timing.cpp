// The timing test of the main window: the menu item that switches it, and the 100 ms blink
// timer whose ticks add and solve one random cube after another (workspace/timing_test).
#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QTimer>

#include "ui/main_window.hpp"
#include "workspace/cube_list.hpp"
#include "workspace/timing_test.hpp"

namespace tx::ui {

void TForm1::addTimingTestItem(QMenu* menu) {
    timerBlink_ = new QTimer(this);
    timerBlink_->setObjectName("TimerBlink");
    timerBlink_->setInterval(100);
    connect(timerBlink_, &QTimer::timeout, this, &TForm1::TimerBlinkTimer1);
    menu->addSeparator();
    timingTestItem_ = addItem(menu, "TimingTest1", tr("Ti&ming Test"), true);
    timingTestItem_->setShortcut(QKeySequence(tr("Ctrl+Shift+T")));
    connect(timingTestItem_, &QAction::triggered, this, &TForm1::timingTestClick);
}

// On: random cubes are added and solved until the list holds 10000 of them. Off before then:
// the test stops and tells what it measured so far.
void TForm1::timingTestClick(bool on) {
    if (!on) {
        if (timingTest_) finishTimingTest(timingTest_->resultText());
        return;
    }
    if (!searchesMayStart()) {
        timingTestItem_->setChecked(false);
        return;
    }
    timingTest_ = std::make_unique<TimingTest>(*list_, *rng_);
    timingTestItem_->setChecked(true);
    timerBlink_->start();
}

void TForm1::TimerBlinkTimer1() {
    if (!timingTest_) return;
    if (busy_ || listOperationRunning()) return;  // the list is someone else's just now
    if (const auto done = timingTest_->tick(TimingTest::Clock::now())) finishTimingTest(*done);
}

void TForm1::finishTimingTest(const std::string& text) {
    timerBlink_->stop();
    timingTest_.reset();
    timingTestItem_->setChecked(false);
    prompts_->message(text, "Timing Test", Icon::Information);
}

}  // namespace tx::ui
