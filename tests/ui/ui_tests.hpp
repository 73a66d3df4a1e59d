#pragma once
// The widget test classes, run one after another by ui_tests_main.cpp.
#include <QObject>

#include <filesystem>

#include "support/temp_folder.hpp"

namespace tx::ui::test {

using testing::TempFolder;

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
    void captionPagesMenusAndIdleProgress();
    void startUpDisablesAndEnablesSearchControls();
    void firstRunDeclinedClosesTheProgram();
    void noDiskSpaceClosesTheProgram();
    void startUpLoadsExistingTables();
    void closeIsRefusedWhileBusy();
    void closeAsksAndRespectsTheAnswer();
};

class OptionsTest : public QObject {
    Q_OBJECT
private slots:
    void twoPhaseOptionsAreWrittenAtOnceAndReadBack();
    void twoPhaseDefaultsWithoutSettingsFile();
    void sliceSwitchIsRefusedWhileTheListHoldsCubes();
    void sliceSwitchReloadsWithControlsDisabled();
    void sliceSwitchDropsCentresWhoseTablesFail();
    void freeThreadsOnlyWhileTheListIsEmpty();
    void isomorphismSwitchesToggle();
    void fixCenterFaceletsAnsweredNoStaysUnchecked();
    void fixCenterFaceletsLoadsTablesWithControlsDisabled();
    void fixCenterFaceletsFailedLoadLeavesItOff();
    void hugeOptionDialog();
    void hugeOptionLoadsTableOnOk();
    void loadsAreRefusedWhileBusy();
};

class DialogsTest : public QObject {
    Q_OBJECT
private slots:
    void dialogsAreCreatedInOrder();
    void aboutBoxShowsProductAndOpensMail();
    void centerDialogLooksAndStaysOnTop();
    void centerDialogParityRuleSetsOk();
    void centerDialogWithoutIdentifiedPiecesAllowsAll();
    void editCentersLocksTheEditorUntilOk();
    void emptyClearRandomAndSwitchOffCloseTheDialog();
    void rightClickOnACentreOpensTheDialog();
};

class ManeuverWindowTest : public QObject {
    Q_OBJECT
private slots:
    void rowsShowTheirEntries();
    void picturesAreHitInRowsOf108Pixels();
    void selectionFollowsTheModifiers();
    void selectedEntriesAreFramed();
    void rowControlsActOnTheirEntry();
    void scrolledToEntry1000Of2000();
    void horizontalScrollingMovesRowsAndHits();
    void repaintsAreCoalesced();
    void screenshotOfTenEntries();
    void cubeMenuActsOnTheRightEntry();
    void cubeMenuEnablingAndLateEntries();
    void keysDeleteQuickSaveAndEscape();
    void longNamesStayWholeUntilShortened();
};

class ListMenuTest : public QObject {
    Q_OBJECT
private slots:
    void menusHoldTheirItems();
    void itemsFollowTheListRules();
    void workspaceDialogsAreSetUp();
    void saveAndLoadThroughTheDialogs();
    void closeSavesTheListThroughTheDialog();
    void listCommandsChangeTheList();
    void startDialogHasItsChoices();
};

// These need the shared test tables (TESSERIX_TEST_DATA); they skip without them.
class ListSearchTest : public QObject {
    Q_OBJECT
private slots:
    void addingFromTheEditorAsksOnIsomorphism();
    void twoPhaseSearchReachesItsTarget();
    void optimalSearchOnAShortCubeEndsStarred();
    void rowButtonStartsAndStopsAnOptimalSearch();
    void startDialogStartsAndRefuses();
    void webServerServesTheList();
    void timingTestRunsFromTheOptionsMenu();
};

class SymmetryPageTest : public QObject {
    Q_OBJECT
private slots:
    void everyControlHasItsNameAndDefault();
    void choosingAGroupPressesItsButtonsAndListsItsSubgroups();
    void buttonsCloseTheGroupAndReleaseWhatTheOthersGenerate();
    void antisymmetrySubgroupsRaiseTheOtherElements();
    void selfInverseAndIsomorphBoxesFollowTheirRules();
    void popupUsesAsAntisymmetryAndAppliesToTheSelection();
    void transferShowsTheEntrysSymmetries();
    void searchAddsItsCubesAndRestoresTheControls();
    void stopEndsTheSearchAndKeepsItsCubes();
};

class PatternPageTest : public QObject {
    Q_OBJECT
private slots:
    void everyControlHasItsNameAndDefault();
    void paletteCellsAndClear();
    void allBoxesSumUpTheFaceBoxes();
    void oneColourFindsOnlyTheSolvedCube();
    void emptyPatternsFindNothingAndReenableTheControls();
    void stopEndsTheSearch();
};

class WebcamPageTest : public QObject {
    Q_OBJECT
private slots:
    void everyComponentHasItsName();
    void noDeviceFound();
    void deviceFailures();
    void testPatternScannedAndTransferredAutomatically();
    void samplesFromThePreviewMenu();
    void gridKeysAndFaceChoice();
    void transferFailuresByMessageOrAnswer();
    void scanSolveTypeStepByStep();
    void scanSolveTypeNeedsAKeyboard();
};

// With TESSERIX_SCREENSHOT_DIR set, screenshot() saves pictures of the webcam page (run it
// under Xvfb with QT_QPA_PLATFORM=xcb).
class WebcamWindowTest : public QObject {
    Q_OBJECT
private slots:
    void pageAndServerRequests();
    void keysOfTheMainWindow();
    void closeRefusedWhileTheCameraRuns();
    void screenshot();
};

// The coset explorer, searching with the test tables' phase-1 table; skips without them.
class CosetWindowTest : public QObject {
    Q_OBJECT
private slots:
    void menuItemFollowsTheHugeTableAndTheOpenWindow();
    void aRunWritesItsLinesAndSetsTheButtons();
    void stopReportsRefusesAndAddsTheCubesLeft();
    void windowStaysOnTopInTheMiddleWithAFixedPitchMemo();
};

}  // namespace tx::ui::test
