// The name field of a row: typing is limited to 30 characters, but a longer name that came
// from a workspace file stays whole, and one Backspace only removes one character.
#include <QLineEdit>
#include <QTest>

#include <fstream>

#include "list_fixture.hpp"
#include "ui_tests.hpp"
#include "workspace/workspace_file.hpp"

namespace tx::ui::test {

void ManeuverWindowTest::longNamesStayWholeUntilShortened() {
    const std::string longName = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-end";
    TempFolder folder("names");
    const auto in = folder / "in.txt";
    {
        std::ofstream out(in);
        out << "R U   //" << longName << "\n";
    }
    ListWindow w;
    QVERIFY(loadWorkspace(w.list(), in).opened);
    w.flush();
    QCOMPARE(w.list().size(), std::size_t(1));
    QLineEdit* field = w.row(0)->nameField();
    QCOMPARE(field->text(), QString::fromStdString(longName));

    QTest::keyClick(field, Qt::Key_End);
    QTest::keyClick(field, Qt::Key_Backspace);
    QCOMPARE(w.list().at(0).patternName, longName.substr(0, longName.size() - 1));
    const auto out = folder / "out.txt";
    QVERIFY(saveWorkspace(w.list(), out).ok);
    std::ifstream saved(out);
    const std::string text((std::istreambuf_iterator<char>(saved)), std::istreambuf_iterator<char>());
    QVERIFY2(text.find("//" + longName.substr(0, longName.size() - 1)) != std::string::npos, text.c_str());

    // Typing cannot lengthen it again, and a short name is limited to 30 as before.
    QTest::keyClicks(field, "xyz");
    QCOMPARE(w.list().at(0).patternName, longName.substr(0, longName.size() - 1));
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, QString(40, 'n'));
    QCOMPARE(w.list().at(0).patternName, std::string(30, 'n'));
}

}  // namespace tx::ui::test
