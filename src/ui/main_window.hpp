#pragma once
// The main window: the list of cubes on the left (the maneuver window), the pages on the
// right with the facelet editor first, the progress label and bar of long operations, and
// the File, Cubes, Options and Help menus. It owns the settings, the editor model, the
// random generator, the Qt implementations of Events, Prompts and Progress, the tables as it
// sees them, the cube list, the web server and the dialogs.
#include <QMainWindow>

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "platform/events.hpp"
#include "platform/progress.hpp"
#include "platform/prompts.hpp"
#include "ui/option_links.hpp"

class QAction;
class QFileDialog;
class QLabel;
class QMenu;
class QProgressBar;
class QTabWidget;
class QTimer;

namespace tx {
class CubeList;
class FaceletEditor;
class ListBackend;
class MersenneTwister;
class QtEvents;
class Settings;
class TimingTest;
class WebServer;
}  // namespace tx

namespace tx::ui {

class DesktopActions;
class EditorPage;
class PatEdit;
class ListReports;
class QtPrompts;
class QtProgress;
class TableService;
class TAboutBox;
class TOptionForm;
class TOptOptionForm;
class TCenterDlg;
class TServSetupForm;
class TStartManSetupForm;
class TCoset;
class TIncomplete;
class ManeuverWindow;
class TabSym;
class PageWebcam;
class WebcamPage;

inline constexpr const char* kProductCaption = "Tesserix 5.00s";
inline constexpr const char* kUntitledWorkspace = "untitled.txt";
inline constexpr const char* kBusyMessage = "Tesserix is busy. Please wait.";
inline constexpr const char* kSliceSwitchRefused = "Empty the Main Window before switching search mode!";
inline constexpr const char* kCenterTablesQuestion =
    "Solving center-twisted Cubes needs a 430 MB table and about 500 MB of RAM. Proceed?";

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    struct Options {
        std::filesystem::path dataFolder;  // holds cube.ini and the table files
        Prompts* prompts = nullptr;        // null: real message boxes
        bool postStartUp = true;           // post the start-up message to itself
        std::string startUpNote;           // told to the user before the tables are loaded
        TableService* tables = nullptr;    // null: the table loader on the data folder
    };

    explicit TForm1(Options options, QWidget* parent = nullptr);
    ~TForm1() override;

    Settings& settings() { return *settings_; }
    FaceletEditor& editor() { return *editor_; }
    MersenneTwister& rng() { return *rng_; }
    Prompts& prompts() { return *prompts_; }
    Events& events();
    Progress& progress();
    TableService& tables() { return *tables_; }
    EditorPage* editorPage() const { return editorPage_; }
    TabSym* symmetryPage() const { return tabSym_; }
    PatEdit* patternPage() const { return patEdit_; }
    WebcamPage* webcamPage() const { return webcamPage_; }
    QTabWidget* pages() const { return pages_; }
    ManeuverWindow* maneuverWindow() const { return maneuverWindow_; }
    QMenu* fileMenu() const { return fileMenu_; }
    QMenu* cubesMenu() const { return cubesMenu_; }
    QMenu* backgroundMenu() const { return backgroundMenu_; }
    QMenu* optionsMenu() const { return optionsMenu_; }
    const std::filesystem::path& dataFolder() const { return dataFolder_; }

    TAboutBox* aboutBox() const { return aboutBox_; }
    TOptionForm* optionForm() const { return optionForm_; }
    TOptOptionForm* optOptionForm() const { return optOptionForm_; }
    TCenterDlg* centerDlg() const { return centerDlg_; }
    TServSetupForm* servSetupForm() const { return servSetupForm_; }
    TStartManSetupForm* startManSetupForm() const { return startManSetupForm_; }
    TCoset* cosetForm() const { return coset_; }
    TIncomplete* incomplete() const { return incomplete_; }
    // Statistics, autorun, web pages and printing.
    ListReports* reports() const { return reports_; }
    // New, Save, recent files, Undo, Select All, the list's keys, title mark and geometry.
    DesktopActions* desktop() const { return desktop_; }

    CubeList& list() { return *list_; }
    WebServer& webServer() { return *server_; }
    ListBackend& serverBackend() { return *backend_; }

    // The file dialogs of LoadWorkspace1 and SaveWorkspace1: given the current workspace
    // file, they answer the chosen file, or an empty string when cancelled. By default they
    // show the dialogs below; tests put in their own choice.
    std::function<QString(const QString& current)> chooseLoadFile;
    std::function<QString(const QString& current)> chooseSaveFile;
    // ODWorkspace (open) or SDWorkSpace (save), opened on the current workspace file.
    std::unique_ptr<QFileDialog> createWorkspaceDialog(bool save, const QString& current);
    // LoadWorkspace1 and SaveWorkspace1; saving answers whether a file was written.
    void loadWorkspaceClick();
    bool saveWorkspaceClick();
    // A list command is running (it may let the window process events meanwhile).
    bool listOperationRunning() const;

    // The option switches; they live in the window until linkOptions points them elsewhere
    // (the cube list), taking the current values along.
    const OptionLinks& options() const { return links_; }
    void linkOptions(const OptionLinks& links);
    // Interval of the two-phase autorun timer ("autoTime", milliseconds).
    int autorunInterval() const { return autoTime_; }

    // Caption: workspace name, " - ", product name.
    void setWorkspaceName(const QString& name);

    // The start-up message: builds or loads the tables while the progress shows each step
    // and the controls that start searches stay disabled. When the user declines the first
    // run, or the disk is full, the window closes; a cancelled build leaves it open without
    // tables, and runStartUp may be called again.
    void runStartUp();
    bool tablesReady() const { return startedUp_; }
    bool busy() const { return busy_; }
    // Enables or disables every control that starts a search or adds a cube.
    void setSearchControlsEnabled(bool enabled);
    bool searchControlsEnabled() const { return searchControlsEnabled_; }

    // Escape during a long operation in this thread asks it to stop at its next poll.
    bool cancelRequested() const { return cancel_; }
    void clearCancel() { cancel_ = false; }

    // What the close and option rules ask of the cube list: whether it has unsaved changes,
    // saving it (true when saved), and whether it is empty. They are set to the window's own
    // list; unset means nothing to save and an empty list.
    std::function<bool()> hasUnsavedChanges;
    std::function<bool()> saveWorkspace;
    std::function<bool()> listEmpty;

    // The 100 ms timer of the window (TimerBlink) and the timing test that its ticks drive
    // (menu item TimingTest1).
    QTimer* blinkTimer() const { return timerBlink_; }
    void timingTestClick(bool on);
    void TimerBlinkTimer1();

signals:
    void startUpFinished(bool tablesReady);
    // The person cancelled the start-up's table build: the window stays, without tables.
    void startUpCancelled();
    void busyChanged(bool busy);
    // The pattern and symmetry search buttons and the list's buttons follow this.
    void searchControlsEnabledChanged(bool enabled);
    // A table was loaded or freed (the huge table enables the coset explorer).
    void tablesChanged();
    void webServerSetupRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // main_window.cpp
    bool mayClose();
    void setBusy(bool on);
    bool refuseWhileBusy();
    bool isListEmpty() const { return !listEmpty || listEmpty(); }
    // main_list.cpp
    void createList();
    void wireList();
    void createWebServer();
    void createWebcamPage();
    void buildCubesMenu();
    void updateListItems();
    void setSelectionItemsEnabled(bool on);
    bool searchesMayStart() const;
    void listCommand(const std::function<void()>& command);
    void addFromEditor(bool solve);
    bool listKey(QKeyEvent* event);
    void shutDownList();
    void showListStatus();
    void wireSearchPages();
    bool pageSearchRunning() const;  // the symmetry or the pattern search
    // main_menu.cpp
    void buildMenus();
    QAction* addItem(QMenu* menu, const char* name, const QString& caption, bool checkable = false);
    void updateMenuItems();
    void createDialogs();
    // coset_menu.cpp
    void createCosetExplorer();
    // main_timing.cpp
    void addTimingTestItem(QMenu* menu);
    void finishTimingTest(const std::string& text);
    // main_options.cpp
    void allowSliceMovesClick(bool checked);
    void fixCenterFaceletsClick(bool checked);
    void applyCenterState(bool on);
    void hugeSolverClick();
    void hugeOptionOk(bool useHuge);
    void hugeModeFollowsTable();
    void openCenterDialog();
    void centerDialogOk();
    void centerDialogFollowsEditor();
    // main_incomplete.cpp
    void createIncomplete();
    void openIncomplete();

    std::filesystem::path dataFolder_;
    std::string startUpNote_;
    std::unique_ptr<Settings> settings_;
    std::unique_ptr<FaceletEditor> editor_;
    std::unique_ptr<MersenneTwister> rng_;
    std::unique_ptr<QtPrompts> ownPrompts_;
    Prompts* prompts_ = nullptr;
    std::unique_ptr<QtEvents> events_;
    std::unique_ptr<QtProgress> progress_;
    std::unique_ptr<TableService> ownTables_;
    TableService* tables_ = nullptr;
    OwnOptions ownOptions_;
    OptionLinks links_;
    int autoTime_ = 10;
    // Destroyed in reverse order: the server before its backend, both before the list.
    std::unique_ptr<CubeList> list_;
    std::unique_ptr<PageWebcam> webcam_;
    std::unique_ptr<ListBackend> backend_;
    std::unique_ptr<WebServer> server_;

    ManeuverWindow* maneuverWindow_ = nullptr;
    QTabWidget* pages_ = nullptr;
    EditorPage* editorPage_ = nullptr;
    TabSym* tabSym_ = nullptr;
    PatEdit* patEdit_ = nullptr;
    WebcamPage* webcamPage_ = nullptr;
    QLabel* progressLabel_ = nullptr;
    QLabel* listStatus_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QMenu* cubesMenu_ = nullptr;
    QMenu* backgroundMenu_ = nullptr;
    QMenu* optionsMenu_ = nullptr;
    QMenu* helpMenu_ = nullptr;
    QAction* hugeSolver_ = nullptr;
    QAction* webServer_ = nullptr;
    QAction* allowSliceMoves_ = nullptr;
    QAction* freeThreads_ = nullptr;
    QAction* fixCenterFacelets_ = nullptr;
    QAction* editCenters_ = nullptr;
    QAction* timingTestItem_ = nullptr;
    QTimer* timerBlink_ = nullptr;
    std::unique_ptr<TimingTest> timingTest_;

    TAboutBox* aboutBox_ = nullptr;
    TOptionForm* optionForm_ = nullptr;
    TOptOptionForm* optOptionForm_ = nullptr;
    TCenterDlg* centerDlg_ = nullptr;
    TServSetupForm* servSetupForm_ = nullptr;
    TStartManSetupForm* startManSetupForm_ = nullptr;
    TCoset* coset_ = nullptr;
    TIncomplete* incomplete_ = nullptr;
    ListReports* reports_ = nullptr;
    DesktopActions* desktop_ = nullptr;

    bool busy_ = false;
    bool startedUp_ = false;
    bool quitting_ = false;  // closing without questions (start-up declined)
    bool searchControlsEnabled_ = true;
    std::atomic<bool> cancel_ = false;
};

}  // namespace tx::ui
