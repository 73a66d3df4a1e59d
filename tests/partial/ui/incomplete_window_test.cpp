// The partial-cube window (TIncomplete) in the main window, on the shared test tables: the
// facelet editor's add buttons hand it cubes with undefined facelets, its messages while a
// search runs, stopping, closing, adding to the list, the slice switch and the filters.
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

#include "engine/partial_support.hpp"
#include "support/recording_progress.hpp"
#include "support/scripted_prompts.hpp"
#include "support/temp_folder.hpp"
#include "ui/incomplete.hpp"
#include "ui/main_window.hpp"
#include "ui/table_service.hpp"
#include "workspace/cube_list.hpp"
#include "workspace/facelet_editor.hpp"

namespace tx::ui::test {

namespace {

constexpr int kTimeout = 60000;

// The bar's positions, in order.
struct PositionLog : RecordingProgress {
    std::vector<long long> positions;
    void setPosition(long long p) override {
        RecordingProgress::setPosition(p);
        positions.push_back(p);
    }
};

// The tables of the test folder, loaded once for all windows of this process.
class SharedTables : public TableService {
public:
    SharedTables() : inner_(makeLoaderTables(testing::testDataFolder(), progress, prompts_)) {
        prompts_.defaultAnswer = Answer::No;  // never build tables here
    }
    PositionLog progress;

    StartResult startUp(bool sliceMode, bool hugeOption) override {
        if (!ready_) ready_ = inner_->startUp(sliceMode, hugeOption) == StartResult::Ready;
        return ready_ ? StartResult::Ready : StartResult::Declined;
    }
    bool switchMode(bool sliceMode, bool centres) override { return inner_->switchMode(sliceMode, centres); }
    bool loadCenterTables() override { return false; }
    void freeCenterTables() override {}
    bool loadHugeTable() override { return false; }
    bool hasCenter() const override { return false; }
    bool hasHuge() const override { return false; }
    TableSet current() const override { return inner_->current(); }
    std::shared_ptr<const IncompTables> incompTables() const override { return inner_->incompTables(); }
    bool buildIncompTables(bool sliceMode) override { return inner_->buildIncompTables(sliceMode); }
    bool ready() const { return ready_; }

private:
    ScriptedPrompts prompts_;
    std::unique_ptr<TableService> inner_;
    bool ready_ = false;
};

SharedTables& sharedTables() {
    static SharedTables tables;
    return tables;
}

struct Window {
    testing::TempFolder folder{"incomplete"};
    ScriptedPrompts prompts;
    std::unique_ptr<TForm1> form;

    Window() {
        sharedTables().buildIncompTables(false);  // every window starts with face turns
        form = std::make_unique<TForm1>(TForm1::Options{folder.path(), &prompts, false, "", &sharedTables()});
        form->runStartUp();
        form->resize(1000, 700);
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get())) qWarning("the main window is not shown");
    }
    TIncomplete* dialog() const { return form->incomplete(); }
    template <class T = QPushButton>
    T* find(const char* name) const {
        T* w = dialog()->findChild<T*>(name);
        if (!w) w = form->findChild<T*>(name);
        if (!w) qWarning("missing component %s", name);
        return w;
    }
    QStringList lines() const { return dialog()->manInfo()->toPlainText().split('\n'); }
    bool hasLine(const QString& end) const {
        for (const QString& l : lines())
            if (l.endsWith(end)) return true;
        return false;
    }
    // Puts the cube into the facelet editor and presses an add button.
    void add(const FaceletCube& cube, const char* button = "ButtonAddSolve") {
        form->editor().cube() = cube;
        QTest::mouseClick(find(button), Qt::LeftButton);
    }
};

// Three D-layer edges of a scramble: many maneuvers at every depth.
FaceletCube threeEdges() {
    return testing::keepCubies(testing::generated("R2 D' F L' U2 B R D2 L F'"),
                               {{testing::kEdge, DR}, {testing::kEdge, DF}, {testing::kEdge, DL}});
}

#define REQUIRE_SHARED_TABLES()                                                                 \
    do {                                                                                        \
        if (sharedTables().startUp(false, false) != StartResult::Ready)                         \
            QSKIP("no test tables in the test data folder");                                    \
    } while (0)

}  // namespace

class IncompleteWindowTest : public QObject {
    Q_OBJECT
private slots:
    void startUpBuildsTheTablesAfterTheOthersAt95Then100() {
        PositionLog progress;
        ScriptedPrompts prompts;
        prompts.defaultAnswer = Answer::No;
        auto tables = makeLoaderTables(testing::testDataFolder(), progress, prompts);
        if (tables->startUp(false, false) != StartResult::Ready) QSKIP("no test tables");
        QVERIFY(tables->incompTables());
        QVERIFY(!tables->incompTables()->sliceMode);
        QVERIFY(progress.positions.size() >= 2);
        QCOMPARE(progress.positions[progress.positions.size() - 2], 95LL);
        QCOMPARE(progress.positions.back(), 100LL);
        QVERIFY(!progress.visible);
    }

    void componentsAndStartState() {
        Window w;
        QCOMPARE(w.dialog()->objectName(), QString("Incomplete"));
        QVERIFY(w.dialog()->windowFlags() & Qt::WindowStaysOnTopHint);
        for (const char* name : {"ManInfo", "BStop", "BClear", "BAdd", "SliceAllowed", "FFilter", "DFilter", "LFilter",
                                 "BFilter", "CenTwistExclude", "UTwist", "RTwist", "FTwist", "DTwist", "LTwist", "BTwist"})
            QVERIFY2(w.dialog()->findChild<QWidget*>(name), name);
        QVERIFY(!w.dialog()->isVisible());
        QVERIFY(!w.find("BStop")->isEnabled());
        QVERIFY(!w.find<QGroupBox>("CenTwistExclude")->isEnabled());
    }

    void aRunningSearchListsStopsAndSaysSo() {
        REQUIRE_SHARED_TABLES();
        Window w;
        const FaceletCube cube = threeEdges();
        w.add(cube);
        QVERIFY(w.dialog()->isVisible());
        QCOMPARE(static_cast<int>(w.form->list().size()), 0);
        QCOMPARE(w.lines().mid(0, 3), QStringList({"Cannot use any accelerator table.", "computation started...", ""}));
        QVERIFY(w.find("BStop")->isEnabled());
        QVERIFY(!w.find("BClear")->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(w.hasLine("f)"), kTimeout);  // past the first depth

        // A second cube, or the slice switch, while it runs.
        w.add(cube, "ButtonAddGen");
        QCOMPARE(w.prompts.shown.back().text, std::string(kStopSearchFirst));
        QCOMPARE(w.prompts.shown.back().caption, std::string("Facelet Editor"));
        QTest::mouseClick(w.find<QCheckBox>("SliceAllowed"), Qt::LeftButton);
        QCOMPARE(w.prompts.shown.back().text, std::string(kStopBeforeSliceSwitch));
        QCOMPARE(w.prompts.shown.back().caption, std::string());
        QVERIFY(!w.find<QCheckBox>("SliceAllowed")->isChecked());
        QVERIFY(w.find<QCheckBox>("FFilter")->isEnabled());

        QTest::mouseClick(w.find("BStop"), Qt::LeftButton);
        QVERIFY(!w.dialog()->searching());
        QVERIFY(!w.find("BStop")->isEnabled());
        QVERIFY(w.find("BClear")->isEnabled());
        const QStringList lines = w.lines();
        QCOMPARE(lines.mid(lines.size() - 3), QStringList({"", "computation stopped.", ""}));
        int maneuvers = 0;
        bool starred = true;
        for (const QString& line : lines.mid(3, lines.size() - 6)) {
            if (line.isEmpty() || line.startsWith("Searching depth")) continue;
            QVERIFY2(testing::solvesDefinedFacelets(cube, line.toStdString()), qPrintable(line));
            // The first depth's lines are starred, then none.
            if (!line.endsWith("f*)")) starred = false;
            QVERIFY2(line.endsWith(starred ? "f*)" : "f)"), qPrintable(line));
            ++maneuvers;
        }
        QVERIFY(maneuvers > 1);
        const QString before = w.dialog()->manInfo()->toPlainText();
        QTest::qWait(100);
        QCOMPARE(w.dialog()->manInfo()->toPlainText(), before);  // nothing after the stop

        QTest::mouseClick(w.find("BClear"), Qt::LeftButton);
        QVERIFY(w.dialog()->manInfo()->toPlainText().isEmpty());
    }

    void addPutsEveryListedManeuverIntoTheList() {
        REQUIRE_SHARED_TABLES();
        Window w;
        const FaceletCube cube = threeEdges();
        w.add(cube);
        QTRY_VERIFY_WITH_TIMEOUT(w.hasLine("f*)"), kTimeout);
        QTest::mouseClick(w.find("BStop"), Qt::LeftButton);
        // The user names a maneuver in the list before adding.
        QStringList lines = w.lines();
        int firstManeuver = 0;
        while (!lines[firstManeuver].endsWith("*)")) ++firstManeuver;
        lines[firstManeuver] += "   // cross, three edges";
        w.dialog()->manInfo()->setPlainText(lines.join('\n'));
        int optimal = 0, other = 0;
        for (const QString& l : lines) {
            if (l.contains("f*)"))
                ++optimal;
            else if (l.contains("f)"))
                ++other;
        }
        QTest::mouseClick(w.find("BAdd"), Qt::LeftButton);
        CubeList& list = w.form->list();
        QCOMPARE(static_cast<int>(list.size()), optimal + other);
        QCOMPARE(list.at(0).patternName, std::string("cross, three edges"));
        for (int i = 0; i < static_cast<int>(list.size()); ++i) {
            const Entry& e = list.at(i);
            QCOMPARE(e.useOptimal, i < optimal);
            QVERIFY(e.showSolver);
            FaceletCube solved = e.cube;
            applyManeuver(solved, e.useOptimal ? e.optimalText : e.solverText);
            QVERIFY(solved.f == FaceletCube().f);
        }
    }

    void closingStopsWithoutTheClosingLinesAndEmptiesTheList() {
        REQUIRE_SHARED_TABLES();
        Window w;
        w.add(threeEdges());
        QTRY_VERIFY_WITH_TIMEOUT(w.hasLine("f*)"), kTimeout);
        w.dialog()->close();
        QVERIFY(!w.dialog()->searching());
        QVERIFY(w.dialog()->manInfo()->toPlainText().isEmpty());
        QVERIFY(w.find("BClear")->isEnabled());
        QTest::qWait(100);
        QVERIFY(w.dialog()->manInfo()->toPlainText().isEmpty());
        // A new cube starts again at once.
        w.add(threeEdges());
        QVERIFY(w.dialog()->searching());
        QVERIFY(w.lines().contains("computation started..."));
    }

    void sliceSwitchRebuildsTheTablesAndTheFiltersFollow() {
        REQUIRE_SHARED_TABLES();
        Window w;
        w.dialog()->show();
        auto* slice = w.find<QCheckBox>("SliceAllowed");
        sharedTables().progress.positions.clear();
        QTest::mouseClick(slice, Qt::LeftButton);
        QVERIFY(slice->isChecked());
        QVERIFY(sharedTables().incompTables()->sliceMode);
        QCOMPARE(sharedTables().progress.positions.front(), 0LL);
        QCOMPARE(sharedTables().progress.positions.back(), 100LL);
        for (const char* f : {"FFilter", "DFilter", "LFilter", "BFilter"}) QVERIFY(!w.find<QCheckBox>(f)->isEnabled());
        QVERIFY(w.form->searchControlsEnabled());  // the window is no longer busy

        // Slice moves in the middle-layer form; the mark keeps the main window's letter.
        const FaceletCube cube = testing::keepPieces(testing::generated("Us R"), {{testing::kEdge, UF}, {testing::kEdge, FR}});
        w.add(cube);
        QTRY_VERIFY_WITH_TIMEOUT(w.hasLine("f)"), kTimeout);
        QTest::mouseClick(w.find("BStop"), Qt::LeftButton);
        bool middle = false;
        for (const QString& line : w.lines()) {
            if (!line.endsWith(")")) continue;
            QVERIFY2(testing::solvesDefinedFacelets(cube, line.toStdString()), qPrintable(line));
            middle |= line.contains('E') || line.contains('M') || line.contains('S');
        }
        QVERIFY(middle);
        QTest::mouseClick(slice, Qt::LeftButton);
        QVERIFY(!sharedTables().incompTables()->sliceMode);
        QVERIFY(w.find<QCheckBox>("FFilter")->isEnabled());
    }

    void facesAndCentresFilterTheManeuvers() {
        REQUIRE_SHARED_TABLES();
        Window w;
        w.dialog()->show();
        QTest::mouseClick(w.find<QCheckBox>("FFilter"), Qt::LeftButton);
        QVERIFY(w.find<QCheckBox>("FFilter")->isChecked());
        w.add(threeEdges());
        QTRY_VERIFY_WITH_TIMEOUT(w.hasLine("f)"), kTimeout);
        QTest::mouseClick(w.find("BStop"), Qt::LeftButton);
        for (const QString& line : w.lines())
            if (line.endsWith(")")) QVERIFY2(!line.contains('F'), qPrintable(line));
        QTest::mouseClick(w.find<QCheckBox>("FFilter"), Qt::LeftButton);
        QTest::mouseClick(w.find("BClear"), Qt::LeftButton);

        // A cube that counts its centres enables the centre boxes; the FR edge alone, solved:
        // with only U's orientation counting no U turn solves it.
        FaceletCube fr = testing::keepPieces(FaceletCube(), {{testing::kEdge, FR}});
        fr.centersCount = true;
        w.form->editor().setCentersCount(true);
        for (const char* box : {"RTwist", "FTwist", "DTwist", "LTwist", "BTwist"}) w.find<QCheckBox>(box)->setChecked(true);
        w.add(fr);
        QVERIFY(w.find<QGroupBox>("CenTwistExclude")->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(w.hasLine("f)"), kTimeout);
        QTest::mouseClick(w.find("BStop"), Qt::LeftButton);
        int depthOne = 0;
        for (const QString& line : w.lines()) {
            if (line.endsWith("(1f*)")) ++depthOne;
            const int ignored = kAllCenterBits & ~ignoredCenterBits(U);
            if (line.endsWith(")")) QVERIFY2(testing::solvesDefinedFacelets(fr, line.toStdString(), ignored), qPrintable(line));
        }
        QCOMPARE(depthOne, 9);  // D, L, B in three powers each
    }

    void aCompleteCubeStillGoesToTheList() {
        REQUIRE_SHARED_TABLES();
        Window w;
        w.add(testing::generated("R U"));
        QCOMPARE(static_cast<int>(w.form->list().size()), 1);
        QVERIFY(!w.dialog()->isVisible());
    }
    // A picture of the window during a search, for looking at it.
    void screenshot() {
        const QString dir = qEnvironmentVariable("TESSERIX_SCREENSHOT_DIR");
        if (dir.isEmpty()) QSKIP("TESSERIX_SCREENSHOT_DIR is not set");
        REQUIRE_SHARED_TABLES();
        Window w;
        w.add(threeEdges());
        QTRY_VERIFY_WITH_TIMEOUT(w.hasLine("f)"), kTimeout);
        QTest::qWait(1500);
        QTest::mouseClick(w.find("BStop"), Qt::LeftButton);
        QVERIFY(w.dialog()->grab().save(dir + "/incomplete.png"));
    }
};

}  // namespace tx::ui::test

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tx::ui::test::IncompleteWindowTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "incomplete_window_test.moc"
