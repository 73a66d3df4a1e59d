#pragma once
// The main window: the list of cubes on the left (the maneuver window), the pages on the
// right with the facelet editor first, and the progress label and bar of long operations.
// It owns the settings, the editor model, the random generator and the Qt implementations
// of Events, Prompts and Progress.
#include <QMainWindow>

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "platform/events.hpp"
#include "platform/progress.hpp"
#include "platform/prompts.hpp"

class QLabel;
class QProgressBar;
class QScrollArea;
class QTabWidget;

namespace tx {
class FaceletEditor;
class MersenneTwister;
class Settings;
}  // namespace tx

namespace tx::ui {

class EditorPage;
class QtEvents;
class QtPrompts;
class QtProgress;

inline constexpr const char* kProductCaption = "Tesserix 5.00s";
inline constexpr const char* kUntitledWorkspace = "untitled.txt";

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    struct Options {
        std::filesystem::path dataFolder;  // holds cube.ini and the table files
        Prompts* prompts = nullptr;        // null: real message boxes
        bool postStartUp = true;           // post the start-up message to itself
        std::string startUpNote;           // told to the user before the tables are loaded
    };

    explicit TForm1(Options options, QWidget* parent = nullptr);
    ~TForm1() override;

    Settings& settings() { return *settings_; }
    FaceletEditor& editor() { return *editor_; }
    MersenneTwister& rng() { return *rng_; }
    Prompts& prompts() { return *prompts_; }
    Events& events();
    Progress& progress();
    EditorPage* editorPage() const { return editorPage_; }
    QTabWidget* pages() const { return pages_; }
    QScrollArea* maneuverWindow() const { return maneuverWindow_; }
    const std::filesystem::path& dataFolder() const { return dataFolder_; }

    // Caption: workspace name, " - ", product name.
    void setWorkspaceName(const QString& name);

    // The start-up message: builds or loads the tables while the progress shows each step
    // and the controls that start searches stay disabled.
    void runStartUp();
    bool busy() const { return busy_; }
    // Enables or disables every control that starts a search or adds a cube.
    void setSearchControlsEnabled(bool enabled);

    // Escape during a long operation in this thread asks it to stop at its next poll.
    bool cancelRequested() const { return cancel_; }
    void clearCancel() { cancel_ = false; }

    // Hooks of the cube list: whether it has unsaved changes, and saving it (true when
    // saved). Unset means nothing to save.
    std::function<bool()> hasUnsavedChanges;
    std::function<bool()> saveWorkspace;

signals:
    void startUpFinished();

protected:
    // Builds or loads all tables at start-up; runs inside runStartUp().
    virtual void loadTables();
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool mayClose();

    std::filesystem::path dataFolder_;
    std::string startUpNote_;
    std::unique_ptr<Settings> settings_;
    std::unique_ptr<FaceletEditor> editor_;
    std::unique_ptr<MersenneTwister> rng_;
    std::unique_ptr<QtPrompts> ownPrompts_;
    Prompts* prompts_ = nullptr;
    std::unique_ptr<QtEvents> events_;
    std::unique_ptr<QtProgress> progress_;

    QScrollArea* maneuverWindow_ = nullptr;
    QTabWidget* pages_ = nullptr;
    EditorPage* editorPage_ = nullptr;
    QLabel* progressLabel_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    bool busy_ = false;
    std::atomic<bool> cancel_ = false;
};

}  // namespace tx::ui
