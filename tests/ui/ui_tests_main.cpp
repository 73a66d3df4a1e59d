#include <QApplication>
#include <QTest>

#include "ui_tests.hpp"

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int failed = 0;
    {
        tx::ui::test::PlatformTest t;
        failed += QTest::qExec(&t, argc, argv);
    }
    {
        tx::ui::test::PictureTest t;
        failed += QTest::qExec(&t, argc, argv);
    }
    {
        tx::ui::test::EditorPageTest t;
        failed += QTest::qExec(&t, argc, argv);
    }
    {
        tx::ui::test::MainWindowTest t;
        failed += QTest::qExec(&t, argc, argv);
    }
    {
        tx::ui::test::OptionsTest t;
        failed += QTest::qExec(&t, argc, argv);
    }
    {
        tx::ui::test::DialogsTest t;
        failed += QTest::qExec(&t, argc, argv);
    }
    {
        tx::ui::test::ManeuverWindowTest t;
        failed += QTest::qExec(&t, argc, argv);
    }
    {
        tx::ui::test::ListMenuTest t;
        failed += QTest::qExec(&t, argc, argv);
    }
    {
        tx::ui::test::ListSearchTest t;
        failed += QTest::qExec(&t, argc, argv);
    }
    {
        tx::ui::test::SymmetryPageTest t;
        failed += QTest::qExec(&t, argc, argv);
    }
    {
        tx::ui::test::PatternPageTest t;
        failed += QTest::qExec(&t, argc, argv);
    }
    {
        tx::ui::test::WebcamPageTest t;
        failed += QTest::qExec(&t, argc, argv);
    }
    {
        tx::ui::test::WebcamWindowTest t;
        failed += QTest::qExec(&t, argc, argv);
    }
    {
        tx::ui::test::CosetWindowTest t;
        failed += QTest::qExec(&t, argc, argv);
    }
    return failed == 0 ? 0 : 1;
}
