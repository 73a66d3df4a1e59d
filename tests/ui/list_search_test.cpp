// Searches seen from the maneuver window, with the real tables: adding from the editor, the
// run/stop button, the start dialog and its refusals, live rows while searches run, and
// the web server of the desktop program.
#include <QDeadlineTimer>
#include <QGroupBox>
#include <QHostAddress>
#include <QMenu>
#include <QRadioButton>
#include <QTcpServer>
#include <QTcpSocket>

#include "cube/facelet_symmetry.hpp"
#include "list_fixture.hpp"
#include "server/web_server.hpp"
#include "ui/serv_setup_form.hpp"
#include "ui/start_man_setup_form.hpp"
#include "ui_tests.hpp"
#include "workspace/settings.hpp"
#include "support/random_cubes.hpp"
#include "support/scripted_prompts.hpp"

namespace tx::ui::test {

namespace {

constexpr int kSearchTimeout = 120000;

// The length L of a mark "(Lf)" or "(Lf*)" at the end of a maneuver text, or -1.
int markLength(const QString& text) {
    const int open = text.lastIndexOf('(');
    if (open < 0) return -1;
    bool ok = false;
    const int length = text.mid(open + 1).section('f', 0, 0).toInt(&ok);
    return ok ? length : -1;
}

bool solves(const FaceletCube& cube, const std::string& text) {
    FaceletCube c = cube;
    applyManeuver(c, std::string_view(text).substr(0, text.find('(')));
    return c.f == FaceletCube().f;
}

FaceletCube randomFaceletCube(std::uint32_t seed) {
    MersenneTwister rng(seed);
    return testing::randomFaceletCube(rng);
}

std::string faceletString(const FaceletCube& c) {
    std::string s;
    for (auto v : c.f) s += "URFDLB"[v];
    return s;
}

// One HTTP/1.0 request to the desktop program's listener; the answer once the server has
// closed the connection. The event loop runs meanwhile, as the server needs it.
QByteArray httpGet(quint16 port, const QByteArray& path) {
    QTcpSocket socket;
    QByteArray reply;
    QObject::connect(&socket, &QTcpSocket::readyRead, [&] { reply += socket.readAll(); });
    QObject::connect(&socket, &QTcpSocket::connected, [&] { socket.write("GET /" + path + " HTTP/1.0\r\n\r\n"); });
    socket.connectToHost(QHostAddress::LocalHost, port);
    QDeadlineTimer deadline(60000);
    while (socket.state() != QAbstractSocket::UnconnectedState && !deadline.hasExpired()) QTest::qWait(10);
    reply += socket.readAll();
    return reply;
}

QRadioButton* radio(QWidget* form, const char* name) { return form->findChild<QRadioButton*>(name); }

}  // namespace

void ListSearchTest::addingFromTheEditorAsksOnIsomorphism() {
    REQUIRE_TABLES();
    ListWindow w;
    const FaceletCube cube = cubeOf("R U F' D2");
    w.form->editor().cube() = cube;
    QTest::mouseClick(w.find("ButtonAddSolve"), Qt::LeftButton);
    QCOMPARE(static_cast<int>(w.list().size()), 1);
    QVERIFY(w.list().at(0).showSolver);
    QTRY_VERIFY_WITH_TIMEOUT(!w.list().at(0).searchRunning, kSearchTimeout);
    QVERIFY(solves(cube, w.list().at(0).solverText));

    // The same cube turned about the U-D axis.
    FaceletCube turned = cube;
    applyBasicSymmetry(turned, 2);
    w.form->editor().cube() = turned;
    w.prompts.answers = {Answer::No};
    QTest::mouseClick(w.find("ButtonAddGen"), Qt::LeftButton);
    QCOMPARE(w.prompts.texts().back(), std::string("Cube 1 is isomorphic to the Cube you want to add. Proceed?"));
    QCOMPARE(w.prompts.shown.back().caption, std::string("Maneuver Window"));
    QCOMPARE(w.prompts.shown.back().buttons, Buttons::YesNo);
    QCOMPARE(static_cast<int>(w.list().size()), 1);

    w.form->editor().cube() = turned;
    w.prompts.answers = {Answer::Yes};
    QTest::mouseClick(w.find("ButtonAddGen"), Qt::LeftButton);
    QCOMPARE(static_cast<int>(w.list().size()), 2);
    QVERIFY(!w.list().at(1).showSolver);
    QTRY_VERIFY_WITH_TIMEOUT(!w.list().at(1).searchRunning, kSearchTimeout);
    w.flush();
    QCOMPARE(w.row(1)->captionButton()->text(), QString("Generator:"));
    QCOMPARE(w.row(1)->maneuverLabel()->text(), QString::fromStdString(generatorText(w.list().at(1))));

    // An incomplete definition is refused with the editor's caption.
    FaceletCube partial = cube;
    partial.f[0] = kUndefinedFacelet;  // one facelet of a corner whose others are known
    w.form->editor().cube() = partial;
    QTest::mouseClick(w.find("ButtonAddSolve"), Qt::LeftButton);
    QCOMPARE(w.prompts.texts().back(), std::string("The definition of the facelet colors is incomplete!"));
    QCOMPARE(w.prompts.shown.back().caption, std::string("Facelet Editor"));
    QCOMPARE(static_cast<int>(w.list().size()), 2);
}

void ListSearchTest::twoPhaseSearchReachesItsTarget() {
    REQUIRE_TABLES();
    ListWindow w;
    const FaceletCube cube = randomFaceletCube(4242);
    w.add(cube);
    w.flush();
    QTest::mouseClick(w.row(0)->runButton(), Qt::LeftButton);
    QVERIFY(w.list().at(0).searchRunning);
    QVERIFY(w.row(0)->showsStop());
    QCOMPARE(w.row(0)->runButton()->text(), QString("Stop"));
    QTRY_VERIFY_WITH_TIMEOUT(!w.list().at(0).searchRunning, kSearchTimeout);
    w.flush();
    const QString shown = w.row(0)->maneuverLabel()->text();
    QCOMPARE(shown, QString::fromStdString(w.list().at(0).solverText));
    QVERIFY2(shown.endsWith("f)"), qPrintable(shown));
    const int length = markLength(shown);
    QVERIFY2(length > 0 && length <= 20, qPrintable(shown));
    QCOMPARE(w.list().at(0).bestLength, length);
    QVERIFY(solves(cube, w.list().at(0).solverText));
    QCOMPARE(w.row(0)->runButton()->text(), QString("Run"));
    QVERIFY(!w.row(0)->showsStop());
    QVERIFY(w.list().modified);
}

void ListSearchTest::optimalSearchOnAShortCubeEndsStarred() {
    REQUIRE_TABLES();
    ListWindow w;
    const FaceletCube cube = cubeOf("R U F D L B R' U' F2 D'");
    w.add(cube, "Ten moves");
    w.flush();
    QTest::mouseClick(w.row(0)->optimalBox(), Qt::LeftButton);
    QVERIFY(w.list().at(0).useOptimal);
    QTest::mouseClick(w.row(0)->runButton(), Qt::LeftButton);
    QVERIFY(w.list().at(0).searchRunning);
    QTRY_VERIFY_WITH_TIMEOUT(!w.list().at(0).searchRunning, kSearchTimeout);
    w.flush();
    const Entry& e = w.list().at(0);
    const QString shown = w.row(0)->maneuverLabel()->text();
    QCOMPARE(shown, QString::fromStdString(e.optimalText));
    QVERIFY2(shown.endsWith("f*)"), qPrintable(shown));
    QCOMPARE(markLength(shown), e.optimalLength);
    QVERIFY(e.optimalLength >= 9 && e.optimalLength <= 10);
    QVERIFY(solves(cube, e.optimalText));
    // The log of the finished depths is the box's hint.
    const QString hint = w.row(0)->optimalBox()->toolTip();
    QVERIFY2(hint.startsWith("Pruning Table Start Values: "), qPrintable(hint));
    QVERIFY2(hint.contains("\ndepth 09: "), qPrintable(hint));
    QCOMPARE(w.row(0)->runButton()->text(), QString("Run"));

    // A proven maneuver is restarted only after the question; No keeps it.
    w.prompts.answers = {Answer::No};
    QTest::mouseClick(w.row(0)->runButton(), Qt::LeftButton);
    QCOMPARE(w.prompts.texts().back(),
             std::string("The maneuver already is optimal. If you proceed you may loose optimality. Proceed?"));
    QVERIFY(!w.list().at(0).searchRunning);
    QCOMPARE(w.list().at(0).optimalText, shown.toStdString());
}

void ListSearchTest::rowButtonStartsAndStopsAnOptimalSearch() {
    REQUIRE_TABLES();
    ListWindow w;
    w.add(randomFaceletCube(77));
    w.flush();
    QTest::mouseClick(w.row(0)->optimalBox(), Qt::LeftButton);
    QTest::mouseClick(w.row(0)->runButton(), Qt::LeftButton);
    QVERIFY(w.list().at(0).searchRunning);
    // The row follows the search: its depth, and the log of finished depths as the hint.
    QTRY_VERIFY_WITH_TIMEOUT(w.row(0)->maneuverLabel()->text().startsWith("Status: Searching depth "), kSearchTimeout);
    QTRY_VERIFY_WITH_TIMEOUT(w.row(0)->optimalBox()->toolTip().contains("depth 10: "), kSearchTimeout);
    QVERIFY(w.row(0)->maneuverLabel()->text().endsWith("..."));
    QVERIFY(w.row(0)->showsStop());
    QVERIFY(w.form->findChild<QLabel*>("ListStatus")->text().contains("1 search running"));

    QTest::mouseClick(w.row(0)->runButton(), Qt::LeftButton);
    QVERIFY(!w.list().at(0).searchRunning);
    w.flush();
    QCOMPARE(w.row(0)->runButton()->text(), QString("Run"));
    QTRY_COMPARE_WITH_TIMEOUT(w.row(0)->maneuverLabel()->text(), QString("Status: Not running"), kSearchTimeout);
    QVERIFY(w.list().at(0).pauseTime > 0);
}

void ListSearchTest::startDialogStartsAndRefuses() {
    REQUIRE_TABLES();
    ListWindow w;
    TStartManSetupForm* dialog = w.form->startManSetupForm();
    w.add(randomFaceletCube(1));
    w.add(randomFaceletCube(2), "", "R U F  (19f)");  // pretend: a maneuver of 19 is known
    w.add(randomFaceletCube(3));
    w.flush();
    auto open = [&] {
        emit w.form->cubesMenu()->aboutToShow();
        QAction* start = w.item("StartSearchforSelectedCubes");
        QVERIFY(start->isEnabled());
        start->trigger();
        QVERIFY(dialog->isVisible());
    };

    // A running entry among the selected ones refuses the whole start.
    QTest::mouseClick(w.row(0)->optimalBox(), Qt::LeftButton);
    QTest::mouseClick(w.row(0)->runButton(), Qt::LeftButton);
    QVERIFY(w.list().at(0).searchRunning);
    w.click(0);
    w.click(2, Qt::ShiftModifier);
    open();
    radio(dialog, "RBTwoPhase")->click();
    dialog->findChild<QPushButton*>("OKButton")->click();
    QVERIFY(!dialog->isVisible());
    QCOMPARE(w.prompts.texts().back(), std::string("The search for some selected cubes already is running. Action aborted."));
    QCOMPARE(w.prompts.shown.back().caption, std::string("Error"));
    QVERIFY(!w.list().at(1).searchRunning && !w.list().at(2).searchRunning);
    w.item("StopSearchForSelectedCubes")->trigger();
    QVERIFY(!w.list().at(0).searchRunning);
    w.flush();
    QCOMPARE(w.row(0)->runButton()->text(), QString("Run"));

    // Two-phase above 19: the entry whose maneuver has 19 moves is passed over.
    w.click(1);
    w.click(2, Qt::ShiftModifier);
    open();
    radio(dialog, "RBTrigger19")->click();
    const auto shown = w.prompts.shown.size();
    dialog->findChild<QPushButton*>("OKButton")->click();
    QCOMPARE(w.prompts.shown.size(), shown);
    QVERIFY(!w.list().at(1).searchRunning);
    QCOMPARE(w.list().at(1).solverText, std::string("R U F  (19f)"));
    QVERIFY(!w.list().at(2).useOptimal);
    QTRY_VERIFY_WITH_TIMEOUT(!w.list().at(2).searchRunning, kSearchTimeout);
    QVERIFY(markLength(QString::fromStdString(w.list().at(2).solverText)) <= 20);
    QVERIFY(solves(w.list().at(2).cube, w.list().at(2).solverText));

    // More than 500 candidates are refused.
    w.addScrambles(498);
    w.list().selectAll();
    radio(dialog, "RBTrigger0")->click();
    open();
    dialog->findChild<QPushButton*>("OKButton")->click();
    QCOMPARE(w.prompts.texts().back(), std::string("You may not start more than 500 searches at the same time."));
    QCOMPARE(w.prompts.shown.back().caption, std::string("Error"));
    for (const auto& e : w.list().entries()) QVERIFY(!e->searchRunning);

    // The optimal kind on two entries, stopped again from the menu.
    w.click(0);
    w.click(1, Qt::ShiftModifier);
    open();
    radio(dialog, "RBOptimal")->click();
    dialog->findChild<QPushButton*>("OKButton")->click();
    QVERIFY(w.list().at(0).searchRunning && w.list().at(1).searchRunning);
    QVERIFY(w.list().at(0).useOptimal && w.list().at(1).useOptimal);
    QVERIFY(!w.list().at(3).searchRunning);
    w.flush();
    QVERIFY(w.row(0)->showsStop() && w.row(1)->showsStop());
    w.item("StopSearchForSelectedCubes")->trigger();
    QVERIFY(!w.list().at(0).searchRunning && !w.list().at(1).searchRunning);
    w.flush();
    QVERIFY(!w.row(0)->showsStop() && !w.row(1)->showsStop());
}

void ListSearchTest::webServerServesTheList() {
    REQUIRE_TABLES();
    quint16 port = 0;
    {
        QTcpServer probe;  // a free port for the listener
        QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
        port = probe.serverPort();
    }
    TempFolder folder;
    {
        Settings settings(folder.path() / "cube.ini");
        settings.writePort(port);
        settings.writeServerEnabled(true);
    }
    ScriptedPrompts prompts;
    FakeTables tables;
    TForm1 form({folder.path(), &prompts, false, "", &tables});
    form.resize(1100, 700);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.runStartUp();
    QVERIFY(form.webServer().isOpen());  // "enabled" opened the listener at start
    QCOMPARE(form.webServer().listeningPort(), port);

    QVERIFY(httpGet(port, "?getLast").contains("<HTML><BODY>\r\nBuffer is empty!\r\n</BODY></HTML>"));

    const FaceletCube cube = randomFaceletCube(555);
    const QByteArray answer = httpGet(port, QByteArray("?") + QByteArray::fromStdString(faceletString(cube)));
    QCOMPARE(static_cast<int>(form.list().size()), 1);
    const Entry& e = form.list().at(0);
    QVERIFY(!e.searchRunning);
    QVERIFY(markLength(QString::fromStdString(e.solverText)) <= 20);
    QVERIFY2(answer.contains(QByteArray::fromStdString(cutLengthMark(e.solverText))), answer.constData());
    form.maneuverWindow()->repaintNow();
    QCOMPARE(form.maneuverWindow()->rowOf(0)->maneuverLabel()->text(), QString::fromStdString(e.solverText));

    // While the add buttons are disabled the program is busy for every request.
    form.setSearchControlsEnabled(false);
    QVERIFY(httpGet(port, "?getLast").contains("invalid request"));
    form.setSearchControlsEnabled(true);
    QVERIFY(httpGet(port, "?clear").contains("Done!"));
    QVERIFY(form.list().empty());

    // The setup dialog belongs to WebServer1.
    QAction* item = form.findChild<QAction*>("WebServer1");
    QVERIFY(item->isEnabled());
    item->trigger();
    QVERIFY(form.servSetupForm()->isVisible());
    form.servSetupForm()->hide();
}

}  // namespace tx::ui::test
