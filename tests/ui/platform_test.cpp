#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <thread>

#include "server/qt_events.hpp"
#include "ui/qt_progress.hpp"
#include "ui/qt_prompts.hpp"
#include "ui_tests.hpp"

namespace tx::ui::test {

void PlatformTest::eventsRunOnTheGuiThread() {
    QtEvents events;
    std::atomic<int> posted = 0;
    std::atomic<bool> invokedOnGui = false, postedOnGui = false;
    const auto gui = std::this_thread::get_id();
    std::thread worker([&] {
        events.post([&] {
            postedOnGui = std::this_thread::get_id() == gui;
            ++posted;
        });
        // invoke() returns only after the GUI thread ran the closure.
        events.invoke([&] { invokedOnGui = std::this_thread::get_id() == gui; });
        QVERIFY(invokedOnGui);
    });
    QTRY_VERIFY_WITH_TIMEOUT(invokedOnGui.load(), 5000);
    worker.join();
    QTRY_COMPARE(posted.load(), 1);
    QVERIFY(postedOnGui);
}

void PlatformTest::invokeFromTheGuiThreadRunsAtOnce() {
    QtEvents events;
    int ran = 0;
    events.invoke([&] { ++ran; });
    QCOMPARE(ran, 1);
    events.post([&] { ++ran; });
    QCOMPARE(ran, 1);  // posting never runs at once
    QTRY_COMPARE(ran, 2);
}

void PlatformTest::progressShowsLabelRangeAndVisibility() {
    QWidget window;
    auto* label = new QLabel(&window);
    auto* bar = new QProgressBar(&window);
    window.show();
    QtProgress progress(label, bar);
    progress.setVisible(false);
    QVERIFY(!label->isVisible());
    QVERIFY(!bar->isVisible());
    progress.setVisible(true);
    QVERIFY(bar->isVisible());
    progress.setLabel("Loading table 1 of 7");
    QCOMPARE(label->text(), QString("Loading table 1 of 7"));
    progress.setRange(0, 100);
    progress.setPosition(40);
    QCOMPARE(bar->maximum(), 100);
    QCOMPARE(bar->value(), 40);
    // Ranges beyond int are scaled, keeping the proportion.
    progress.setRange(0, 10'000'000'000LL);
    progress.setPosition(5'000'000'000LL);
    QVERIFY(bar->maximum() > 0);
    QVERIFY(qAbs(bar->value() - bar->maximum() / 2) <= 1);
    progress.setRange(100, 200);
    progress.setPosition(150);
    QCOMPARE(bar->value(), 50);
    // A label set from a worker reaches the widget through the event loop.
    std::thread([&] { progress.setLabel("from a worker"); }).join();
    QTRY_COMPARE(label->text(), QString("from a worker"));
}

void PlatformTest::promptsShowExactTextCaptionIconAndButtons() {
    QtPrompts prompts;
    QString seenText, seenTitle;
    QMessageBox::Icon seenIcon = QMessageBox::NoIcon;
    QList<QMessageBox::StandardButton> seenButtons;
    // Waits for the next message box, records what it shows and presses `button`.
    auto answerWith = [&](QMessageBox::StandardButton button) {
        auto* timer = new QTimer;
        timer->setInterval(5);
        QObject::connect(timer, &QTimer::timeout, [&, timer, button] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            timer->stop();
            timer->deleteLater();
            seenText = box->text();
            seenTitle = box->windowTitle();
            seenIcon = box->icon();
            seenButtons.clear();
            for (auto* b : box->buttons()) seenButtons << box->standardButton(b);
            box->button(button)->click();
        });
        timer->start();
    };
    answerWith(QMessageBox::No);
    Answer a = prompts.ask({"Do you really want to quit?", "Maneuver Window", Icon::Question, Buttons::YesNo});
    QCOMPARE(a, Answer::No);
    QCOMPARE(seenText, QString("Do you really want to quit?"));
    QCOMPARE(seenTitle, QString("Maneuver Window"));
    QCOMPARE(seenIcon, QMessageBox::Question);
    QCOMPARE(seenButtons.size(), 2);
    QVERIFY(seenButtons.contains(QMessageBox::Yes) && seenButtons.contains(QMessageBox::No));

    answerWith(QMessageBox::Ok);
    prompts.message("Twist Error. The twist of the URF-Corner will be changed.", "Facelet Editor", Icon::Warning);
    QCOMPARE(seenTitle, QString("Facelet Editor"));
    QCOMPARE(seenIcon, QMessageBox::Warning);
    QCOMPARE(seenButtons, QList<QMessageBox::StandardButton>{QMessageBox::Ok});

    answerWith(QMessageBox::Cancel);
    QCOMPARE(prompts.ask({"Save?", "", Icon::Question, Buttons::YesNoCancel}), Answer::Cancel);
    QCOMPARE(seenButtons.size(), 3);

    // Asked from a worker, the box still opens on the GUI thread.
    answerWith(QMessageBox::Yes);
    Answer fromWorker = Answer::Ok;
    std::atomic<bool> done = false;
    std::thread worker([&] {
        fromWorker = prompts.ask({"Proceed?", "", Icon::Warning, Buttons::YesNo});
        done = true;
    });
    QTRY_VERIFY_WITH_TIMEOUT(done.load(), 5000);
    worker.join();
    QCOMPARE(fromWorker, Answer::Yes);
    QCOMPARE(seenText, QString("Proceed?"));
}

}  // namespace tx::ui::test
