#include <QCheckBox>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "cube/random.hpp"
#include "ui/colors.hpp"
#include "ui/editor_page.hpp"
#include "ui/facelet_editor_widget.hpp"
#include "workspace/settings.hpp"
#include "ui_tests.hpp"
#include "support/scripted_prompts.hpp"

namespace tx::ui::test {

namespace {

// An editor page on its own settings file.
struct Page {
    TempFolder folder;
    Settings settings{folder.path() / "cube.ini"};
    FaceletEditor editor{&settings};
    MersenneTwister rng{42};
    ScriptedPrompts prompts;
    EditorPage page{editor, rng, &prompts};

    template <class T = QPushButton>
    T* find(const char* name) {
        T* w = page.findChild<T*>(name);
        if (!w) qWarning("missing component %s", name);
        return w;
    }
};

QPoint centreOf(const FaceletQuad& q) {
    return {(q[0].x + q[1].x + q[2].x + q[3].x) / 4, (q[0].y + q[1].y + q[2].y + q[3].y) / 4};
}

}  // namespace

void EditorPageTest::everyComponentHasItsName() {
    Page p;
    QCOMPARE(p.page.objectName(), QString("TabSheet1"));
    for (const char* name :
         {"ButtonU", "ButtonR", "ButtonF", "ButtonD", "ButtonL", "ButtonB", "ButtonE", "ButtonM", "ButtonS",
          "Buttonx", "Buttony", "Buttonz", "ButtonEmpty", "ButtonClear", "ButtonEmptyC", "ButtonEmptyE",
          "ButtonClearC", "ButtonClearE", "ButtonRandom", "ButtonCustomize", "ButtonAddSolve", "ButtonAddGen",
          "BApplyMan"})
        QVERIFY2(p.find(name), name);
    QVERIFY(p.find<QCheckBox>("ColorCheck"));
    QVERIFY(p.find<QLineEdit>("EManeuver"));
    QVERIFY(p.find<QFrame>("CurColorShape"));
}

void EditorPageTest::buttonsTurnTheCube() {
    Page p;
    QSignalSpy changed(&p.page, &EditorPage::cubeChanged);
    QSignalSpy scheme(&p.page, &EditorPage::schemeChanged);
    const char* names[] = {"ButtonU", "ButtonR", "ButtonF", "ButtonD", "ButtonL", "ButtonB",
                           "Buttonx", "Buttony", "Buttonz", "ButtonE", "ButtonM", "ButtonS"};
    for (int code = 0; code < kFaceletTurns; ++code) {
        p.editor.clearAll();
        p.editor.turn(3);  // something not solved, so every turn shows
        FaceletCube expected;
        expected.turn(3);
        expected.turn(code);
        const ColorScheme before = p.editor.scheme();
        QTest::mouseClick(p.find(names[code]), Qt::LeftButton);
        QVERIFY2(p.editor.cube() == expected, names[code]);
        if (code < kTurnX) QCOMPARE(p.editor.scheme().colors, before.colors);
        // Bring the scheme back for the next button.
        for (int i = 0; i < 3; ++i) p.editor.turn(code);
        QCOMPARE(p.editor.scheme().colors, before.colors);
    }
    QCOMPARE(changed.count(), kFaceletTurns);
    QCOMPARE(scheme.count(), 6);
}

void EditorPageTest::rightButtonShowsThePrimeWhileHeld() {
    Page p;
    auto* u = p.find("ButtonU");
    const QPoint centre = u->rect().center();
    QTest::mousePress(u, Qt::RightButton, Qt::NoModifier, centre);
    QCOMPARE(u->text(), QString("U'"));
    QVERIFY2(p.editor.cube() == FaceletCube(), "nothing turns before the release");
    QTest::mouseRelease(u, Qt::RightButton, Qt::NoModifier, centre);
    QCOMPARE(u->text(), QString("U"));
    FaceletCube inverse;
    for (int i = 0; i < 3; ++i) inverse.turn(0);
    QVERIFY(p.editor.cube() == inverse);

    // Released outside the button: no turn.
    QTest::mousePress(u, Qt::RightButton, Qt::NoModifier, centre);
    QTest::mouseRelease(u, Qt::RightButton, Qt::NoModifier, QPoint(-20, -20));
    QCOMPARE(u->text(), QString("U"));
    QVERIFY(p.editor.cube() == inverse);

    auto* x = p.find("Buttonx");
    QTest::mousePress(x, Qt::RightButton, Qt::NoModifier, x->rect().center());
    QCOMPARE(x->text(), QString("x'"));
    QTest::mouseRelease(x, Qt::RightButton, Qt::NoModifier, x->rect().center());
    QCOMPARE(x->text(), QString("x"));
}

void EditorPageTest::editButtonsEmptyClearAndRandomise() {
    Page p;
    QTest::mouseClick(p.find("ButtonEmpty"), Qt::LeftButton);
    for (int n = 0; n < kFacelets; ++n) QCOMPARE(int(p.editor.cube().f[n]), n % 9 == 4 ? n / 9 : 6);
    QTest::mouseClick(p.find("ButtonClearE"), Qt::LeftButton);
    QCOMPARE(int(p.editor.cube().f[1]), 0);
    QCOMPARE(int(p.editor.cube().f[0]), 6);
    QTest::mouseClick(p.find("ButtonClearC"), Qt::LeftButton);
    QVERIFY(p.editor.cube() == FaceletCube());
    QTest::mouseClick(p.find("ButtonEmptyE"), Qt::LeftButton);
    QCOMPARE(int(p.editor.cube().f[1]), 6);
    QCOMPARE(int(p.editor.cube().f[0]), 0);
    QTest::mouseClick(p.find("ButtonEmptyC"), Qt::LeftButton);
    QCOMPARE(int(p.editor.cube().f[0]), 6);
    QTest::mouseClick(p.find("ButtonClear"), Qt::LeftButton);
    QVERIFY(p.editor.cube() == FaceletCube());

    // Random uses the page's generator: the same seed gives the same cube.
    FaceletEditor expected;
    MersenneTwister rng(42);
    expected.randomize(rng);
    p.editor.setCentersCount(true);
    p.editor.openCenterDialog();
    p.page.refresh();
    QVERIFY(!p.find("ButtonU")->isEnabled());
    QVERIFY(!p.find("ButtonAddSolve")->isEnabled());
    QTest::mouseClick(p.find("ButtonRandom"), Qt::LeftButton);
    QCOMPARE(p.editor.cube().f, expected.cube().f);
    QVERIFY(!p.editor.centerDialogOpen());
    QVERIFY(p.find("ButtonU")->isEnabled());
    QVERIFY(p.find("ButtonAddSolve")->isEnabled());
}

void EditorPageTest::customisedColourIsWrittenAndReadBack() {
    Page p;
    p.editor.setCurrentColor(4);
    QColor offered;
    p.page.chooseColor = [&](const QColor& initial) -> std::optional<QColor> {
        offered = initial;
        return QColor(10, 20, 30);
    };
    QSignalSpy scheme(&p.page, &EditorPage::schemeChanged);
    QTest::mouseClick(p.find("ButtonCustomize"), Qt::LeftButton);
    QCOMPARE(offered, QColor(255, 255, 255));  // the current colour, L white
    QCOMPARE(scheme.count(), 1);
    QCOMPARE(p.editor.scheme()[4], std::uint32_t(10 | 20 << 8 | 30 << 16));
    QCOMPARE(Settings(p.folder.path() / "cube.ini").readInt("Color Scheme", "LColor", 0), 10 | 20 << 8 | 30 << 16);
    FaceletEditor reread(&p.settings);
    QCOMPARE(reread.scheme()[4], std::uint32_t(10 | 20 << 8 | 30 << 16));
    auto* swatch = p.find<QFrame>("CurColorShape");
    QCOMPARE(swatch->palette().color(QPalette::Window), QColor(10, 20, 30));

    // Cancelling the dialog changes nothing.
    p.page.chooseColor = [](const QColor&) -> std::optional<QColor> { return std::nullopt; };
    QTest::mouseClick(p.find("ButtonCustomize"), Qt::LeftButton);
    QCOMPARE(scheme.count(), 1);
    QCOMPARE(p.editor.scheme()[4], std::uint32_t(10 | 20 << 8 | 30 << 16));
}

void EditorPageTest::colorCheckWritesAutoFix() {
    Page p;
    auto* check = p.find<QCheckBox>("ColorCheck");
    QVERIFY(check->isChecked());
    check->click();
    QVERIFY(!p.editor.autoFix());
    QCOMPARE(Settings(p.folder.path() / "cube.ini").readInt("Faclet Editor", "AutoFix", 9), 0);
    check->click();
    QCOMPARE(Settings(p.folder.path() / "cube.ini").readInt("Faclet Editor", "AutoFix", 9), 1);
}

void EditorPageTest::autoFixTwistMessageGoesThroughPrompts() {
    Page p;
    p.editor.cube().f[8] = 2;   // the URF corner twisted
    p.editor.cube().f[9] = 0;
    p.editor.cube().f[20] = 1;
    p.editor.setCurrentColor(0);
    auto* picture = p.page.picture();
    picture->resize(picture->sizeHint());
    QTest::mouseClick(picture, Qt::LeftButton, Qt::NoModifier, centreOf(p.editor.geometry().polygon(7)));
    QCOMPARE(p.prompts.shown.size(), std::size_t(1));
    QCOMPARE(QString::fromStdString(p.prompts.shown[0].text),
             QString("Twist Error. The twist of the URF-Corner will be changed."));
    QCOMPARE(QString::fromStdString(p.prompts.shown[0].caption), QString("Facelet Editor"));
    QVERIFY(p.prompts.shown[0].icon == Icon::Warning);
    QVERIFY(p.editor.cube() == FaceletCube());
}

void EditorPageTest::maneuverFieldAppliesOnEnter() {
    Page p;
    auto* field = p.find<QLineEdit>("EManeuver");
    QTest::keyClicks(field, "(R U R' U')3");
    QTest::keyClick(field, Qt::Key_Return);
    FaceletEditor expected;
    expected.applyManeuverField("(R U R' U')3");
    QVERIFY(p.editor.cube() == expected.cube());
    QVERIFY(!(p.editor.cube() == FaceletCube()));
    QTest::mouseClick(p.find("BApplyMan"), Qt::LeftButton);
    QVERIFY2(p.editor.cube() == FaceletCube(), "twice three times makes six: solved");
}

}  // namespace tx::ui::test
