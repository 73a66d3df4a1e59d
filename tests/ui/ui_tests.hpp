#pragma once
// The widget test classes, run one after another by ui_tests_main.cpp.
#include <QObject>

#include <filesystem>

namespace tx::ui::test {

// A fresh folder for a cube.ini, removed with the object.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

class PlatformTest : public QObject {
    Q_OBJECT
private slots:
    void eventsRunOnTheGuiThread();
    void invokeFromTheGuiThreadRunsAtOnce();
    void progressShowsLabelRangeAndVisibility();
    void promptsShowExactTextCaptionIconAndButtons();
};

class PictureTest : public QObject {
    Q_OBJECT
private slots:
    void faceletsArePaintedWhereTheGeometrySays();
    void hatchesAreColourOnBlack();
    void centreMarksShowWhenCentresCount();
    void clicksOnThePicturePaint();
};

class EditorPageTest : public QObject {
    Q_OBJECT
private slots:
    void everyComponentHasItsName();
    void buttonsTurnTheCube();
    void rightButtonShowsThePrimeWhileHeld();
    void editButtonsEmptyClearAndRandomise();
    void customisedColourIsWrittenAndReadBack();
    void colorCheckWritesAutoFix();
    void autoFixTwistMessageGoesThroughPrompts();
    void maneuverFieldAppliesOnEnter();
};

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void captionPagesAndIdleProgress();
    void startUpDisablesAndEnablesSearchControls();
    void closeIsRefusedWhileBusy();
    void closeAsksAndRespectsTheAnswer();
};

}  // namespace tx::ui::test
