#pragma once
// The window of the search for partially defined cubes (TIncomplete): the facelet editor hands
// it cubes with undefined facelets; it lists every maneuver that solves their defined facelets,
// depth by depth, until the user stops the search, and adds the maneuvers the user keeps to the
// main window's list. Its options: slice moves (SliceAllowed), faces that are not turned (face
// turns only) and centres whose orientation does not matter (for cubes that count centres).
#include <QDialog>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>

#include "cube/facelet_cube.hpp"

class QCheckBox;
class QGroupBox;
class QPlainTextEdit;
class QPushButton;

namespace tx {
class CubeList;
class Events;
class IncompSearch;
class Prompts;
struct IncompReport;
}  // namespace tx

namespace tx::ui {

class TableService;

inline constexpr const char* kStopSearchFirst = "Stop the running search first!";
inline constexpr const char* kStopBeforeSliceSwitch = "Stop the running search before switching slice mode!";
inline constexpr const char* kComputationStarted = "computation started...";
inline constexpr const char* kComputationStopped = "computation stopped.";

class TIncomplete : public QDialog {
    Q_OBJECT
public:
    struct Links {
        TableService* tables = nullptr;
        Events* events = nullptr;
        Prompts* prompts = nullptr;
        CubeList* list = nullptr;
        // Runs a change of the cube list as the main window runs its list commands.
        std::function<void(const std::function<void()>&)> listCommand;
        // The main window is busy (its search controls off) while the tables are rebuilt.
        std::function<void(bool)> busy;
    };

    explicit TIncomplete(Links links, QWidget* parent = nullptr);
    ~TIncomplete() override;

    // From the facelet editor's add buttons, for a cube with undefined facelets.
    void startFor(const FaceletCube& cube);
    bool searching() const { return running_; }
    QPlainTextEdit* manInfo() const { return manInfo_; }

    void bStopClick();
    void bClearClick();
    void bAddClick();
    void sliceAllowedClick(bool checked);
    void reject() override;  // Escape closes the window as its close button does

protected:
    void closeEvent(QCloseEvent* event) override;  // FormClose
    void showEvent(QShowEvent* event) override;

private:
    void buildOptions(QWidget* box);
    void stopSearch();
    void report(const IncompReport& r);
    void appendLines(const QStringList& lines);
    void flushFound();
    unsigned excludedFaces() const;
    int ignoredCenters() const;

    Links links_;
    QPlainTextEdit* manInfo_ = nullptr;
    QPushButton* bStop_ = nullptr;
    QPushButton* bClear_ = nullptr;
    QPushButton* bAdd_ = nullptr;
    QCheckBox* sliceAllowed_ = nullptr;
    std::array<QCheckBox*, 4> filters_{};     // F D L B
    std::array<QCheckBox*, 6> centerBoxes_{}; // U R F D L B
    QGroupBox* centerGroup_ = nullptr;
    std::unique_ptr<IncompSearch> search_;
    bool running_ = false;
    bool sliceMoves_ = false;
    QStringList pendingLines_;  // found lines not yet shown
    bool flushQueued_ = false;
    bool centred_ = false;
};

}  // namespace tx::ui
