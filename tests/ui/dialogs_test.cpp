#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QTest>

#include "ui/about_box.hpp"
#include "ui/center_dlg.hpp"
#include "ui/editor_page.hpp"
#include "ui/facelet_editor_widget.hpp"
#include "workspace/facelet_editor.hpp"
#include "window_fixture.hpp"

namespace tx::ui::test {

namespace {

const char* const kFaceButtons[] = {"ButtonU", "ButtonR", "ButtonF", "ButtonD", "ButtonL", "ButtonB"};

// A started window with centre orientation switched on (answered Yes, tables "loaded").
struct CentreWindow : WindowFixture {
    CentreWindow() {
        item("FixCenterFacelets")->trigger();
        if (!form->editor().cube().centersCount) qWarning("centre orientation did not switch on");
    }
    TCenterDlg& dialog() const { return *form->centerDlg(); }
    QRadioButton* radio(const char* face, int rotation) const {
        return dialog().findChild<QRadioButton*>(QString("%1%2").arg(face).arg(rotation));
    }
    bool ok() const { return dialog().findChild<QPushButton*>("Button1")->isEnabled(); }
    int faceButtonsEnabled() const {
        int n = 0;
        for (const char* name : kFaceButtons) n += find(name)->isEnabled();
        return n;
    }
    // The editor is locked exactly while the dialog shows.
    bool lockedWithDialog() const {
        return dialog().isVisible() && faceButtonsEnabled() == 0 && !find("ButtonAddSolve")->isEnabled() &&
               !find("ButtonAddGen")->isEnabled();
    }
    bool freeWithoutDialog() const { return !dialog().isVisible() && faceButtonsEnabled() == 6 && addButtonsEnabled(); }
    void open() const { item("EditCenters")->trigger(); }
};

QPoint centreOf(const FaceletQuad& q) {
    return {(q[0].x + q[1].x + q[2].x + q[3].x) / 4, (q[0].y + q[1].y + q[2].y + q[3].y) / 4};
}

}  // namespace

void DialogsTest::dialogsAreCreatedInOrder() {
    WindowFixture w(false);
    QStringList names;
    for (QDialog* d : w.form->findChildren<QDialog*>(Qt::FindDirectChildrenOnly)) names << d->objectName();
    QCOMPARE(names, QStringList({"AboutBox", "OptionForm", "OptOptionForm", "ServSetupForm", "StartManSetupForm", "Stats",
                                 "Coset", "Incomplete", "CenterDlg", "OptimalBatch"}));
    for (QDialog* d : w.form->findChildren<QDialog*>(Qt::FindDirectChildrenOnly)) QVERIFY(!d->isVisible());
}

void DialogsTest::aboutBoxShowsProductAndOpensMail() {
    WindowFixture w(false);
    TAboutBox* about = w.form->aboutBox();
    QCOMPARE(about->findChild<QLabel*>("ProductName")->text(), QString("Tesserix"));
    QVERIFY(about->findChild<QLabel*>("Version")->text().contains("5.00s"));
    QVERIFY(!about->findChild<QLabel*>("Copyright")->text().isEmpty());
    auto* mail = about->findChild<QLabel*>("MailLink");
    QVERIFY(mail->text().contains("mailto:"));
    QList<QUrl> opened;
    about->openUrl = [&](const QUrl& url) { opened << url; };
    emit mail->linkActivated(QString("mailto:") + kMailAddress);
    QCOMPARE(opened.size(), 1);
    QCOMPARE(opened[0].scheme(), QString("mailto"));
    QCOMPARE(opened[0].path(), QString(kMailAddress));
}

void DialogsTest::centerDialogLooksAndStaysOnTop() {
    CentreWindow w;
    TCenterDlg& d = w.dialog();
    const char* faces[] = {"U", "R", "F", "D", "L", "B"};
    QStringList groups;
    for (QGroupBox* g : d.findChildren<QGroupBox*>()) groups << g->objectName();
    QCOMPARE(groups, QStringList({"U", "R", "F", "D", "L", "B"}));
    for (const char* face : faces)
        for (int r = 0; r < 4; ++r) {
            QRadioButton* b = w.radio(face, r);
            QVERIFY(b);
            QCOMPARE(b->property("Tag").toInt(), r);
            QCOMPARE(b->parentWidget()->objectName(), QString(face));
        }
    auto* ok = d.findChild<QPushButton*>("Button1");
    QCOMPARE(ok->text(), QString("Ok"));
    QVERIFY(d.findChild<QLabel*>("Label1")->text().contains("clockwise quarter turns"));
    const Qt::WindowFlags flags = d.windowFlags();
    QVERIFY(flags & Qt::WindowStaysOnTopHint);
    QVERIFY(flags & Qt::CustomizeWindowHint);
    QVERIFY(!(flags & Qt::WindowCloseButtonHint));
    QVERIFY(!(flags & Qt::WindowSystemMenuHint));
    // Escape does not close it: only "Ok" does.
    w.open();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QTest::keyClick(&d, Qt::Key_Escape);
    QVERIFY(d.isVisible());
}

void DialogsTest::centerDialogParityRuleSetsOk() {
    CentreWindow w;
    w.open();
    QVERIFY(w.dialog().isVisible());
    QVERIFY(w.radio("U", 0)->isChecked());
    QVERIFY(w.ok());
    QTest::mouseClick(w.radio("U", 1), Qt::LeftButton);
    QCOMPARE(int(w.form->editor().cube().centerOri[0]), 1);
    QVERIFY(!w.ok());  // odd centre sum with even corners
    QTest::mouseClick(w.radio("R", 1), Qt::LeftButton);
    QVERIFY(w.ok());
    QTest::mouseClick(w.radio("B", 2), Qt::LeftButton);
    QVERIFY(w.ok());
    QTest::mouseClick(w.radio("R", 0), Qt::LeftButton);
    QVERIFY(!w.ok());
    QTest::mouseClick(w.radio("U", 3), Qt::LeftButton);  // 3 + 2: still odd
    QVERIFY(!w.ok());
    QTest::mouseClick(w.radio("D", 1), Qt::LeftButton);
    QVERIFY(w.ok());
    const std::array<std::uint8_t, 6> expected{3, 0, 0, 1, 0, 2};
    QCOMPARE(w.form->editor().cube().centerOri, expected);

    // A quarter turn makes the corners odd: one centre turned is right, none is not.
    QTest::mouseClick(w.find("Button1"), Qt::LeftButton);
    QTest::mouseClick(w.find("ButtonClear"), Qt::LeftButton);
    QTest::mouseClick(w.find("ButtonU"), Qt::LeftButton);
    QCOMPARE(int(w.form->editor().cube().centerOri[0]), 1);
    w.open();
    QVERIFY(w.radio("U", 1)->isChecked());  // the dialog shows the cube's rotations
    QVERIFY(w.ok());
    QTest::mouseClick(w.radio("U", 0), Qt::LeftButton);
    QVERIFY(!w.ok());
    // Rotations of the whole cube while the dialog shows move the centres: it follows.
    QTest::mouseClick(w.find("Buttonx"), Qt::LeftButton);
    const auto& ori = w.form->editor().cube().centerOri;
    const char* faces[] = {"U", "R", "F", "D", "L", "B"};
    for (int face = 0; face < 6; ++face) QVERIFY2(w.radio(faces[face], ori[face])->isChecked(), faces[face]);
    QCOMPARE(w.ok(), w.form->editor().centerOkEnabled());
}

void DialogsTest::centerDialogWithoutIdentifiedPiecesAllowsAll() {
    CentreWindow w;
    QTest::mouseClick(w.find("ButtonEmpty"), Qt::LeftButton);
    w.open();
    for (const char* face : {"U", "R", "F"}) {
        QTest::mouseClick(w.radio(face, 1), Qt::LeftButton);
        QVERIFY2(w.ok(), face);
    }
    QVERIFY(w.dialog().isVisible());
    QTest::mouseClick(w.find("Button1"), Qt::LeftButton);
    // Edges alone decide when the corners are open.
    QTest::mouseClick(w.find("ButtonClear"), Qt::LeftButton);
    QTest::mouseClick(w.find("ButtonEmptyC"), Qt::LeftButton);
    w.open();
    QTest::mouseClick(w.radio("L", 1), Qt::LeftButton);
    QVERIFY(!w.ok());
    QTest::mouseClick(w.radio("L", 2), Qt::LeftButton);
    QVERIFY(w.ok());
}

void DialogsTest::editCentersLocksTheEditorUntilOk() {
    CentreWindow w;
    QVERIFY(w.freeWithoutDialog());
    w.open();
    QVERIFY(w.lockedWithDialog());
    QVERIFY(w.find("ButtonE")->isEnabled());  // only the face turns wait
    auto* ok = w.dialog().findChild<QPushButton*>("Button1");
    QTest::mouseClick(w.radio("F", 1), Qt::LeftButton);
    QTest::mouseClick(ok, Qt::LeftButton);  // disabled: nothing happens
    QVERIFY(w.lockedWithDialog());
    QTest::mouseClick(w.radio("F", 0), Qt::LeftButton);
    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(w.freeWithoutDialog());
    QVERIFY(!w.form->editor().centerDialogOpen());
}

void DialogsTest::emptyClearRandomAndSwitchOffCloseTheDialog() {
    CentreWindow w;
    for (const char* name : {"ButtonEmpty", "ButtonClear", "ButtonRandom"}) {
        w.open();
        QVERIFY2(w.lockedWithDialog(), name);
        QTest::mouseClick(w.find(name), Qt::LeftButton);
        QVERIFY2(w.freeWithoutDialog(), name);
    }
    // Other edits leave it open.
    w.open();
    QTest::mouseClick(w.find("ButtonEmptyC"), Qt::LeftButton);
    QVERIFY(w.lockedWithDialog());
    // Switching centre orientation off closes it as "Ok" does.
    w.item("FixCenterFacelets")->trigger();
    QVERIFY(!w.item("FixCenterFacelets")->isChecked());
    QVERIFY(w.freeWithoutDialog());
    QVERIFY(!w.item("EditCenters")->isEnabled());
}

void DialogsTest::rightClickOnACentreOpensTheDialog() {
    WindowFixture w;
    FaceletEditorWidget* picture = w.form->editorPage()->picture();
    picture->resize(picture->sizeHint());
    const QPoint uCentre = centreOf(w.form->editor().geometry().polygon(4));
    QTest::mouseClick(picture, Qt::RightButton, Qt::NoModifier, uCentre);
    QVERIFY(!w.form->centerDlg()->isVisible());  // centres do not count yet
    QCOMPARE(int(w.form->editor().cube().f[4]), 0);
    w.item("FixCenterFacelets")->trigger();
    QTest::mouseClick(picture, Qt::RightButton, Qt::NoModifier, uCentre);
    QVERIFY(w.form->centerDlg()->isVisible());
    QVERIFY(!w.find("ButtonU")->isEnabled());
    QCOMPARE(int(w.form->editor().cube().f[4]), 0);  // a centre never becomes undefined
}

}  // namespace tx::ui::test
