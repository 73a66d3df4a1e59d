#pragma once
// The coset explorer's window: Start, Stop, Add Cubes and Exit, the memo Info with the lines
// the search writes, and a progress line while it runs. It stays on top, has no system
// buttons and opens in the middle of the desktop. One explorer at a time: the main window
// offers it again once this window was closed with Exit.
#include <QDialog>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "searches/coset_search.hpp"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace tx {
class CubeList;
class Prompts;
struct FaceletCube;
}  // namespace tx

namespace tx::ui {

class TCoset : public QDialog {
    Q_OBJECT
public:
    TCoset(Events& events, Prompts& prompts, CubeList& list, QWidget* parent = nullptr);
    ~TCoset() override;

    // RunCosetExplorerClick: shows the window, creates the search for `cube` on `tables` and
    // starts it. False (after telling why) when the search cannot be made.
    bool run(const FaceletCube& cube, const TableSet& tables);
    // A search is held: the window was opened and not yet closed with Exit.
    bool open() const { return search_ != nullptr || creating_; }
    CosetSearch* search() const { return search_.get(); }

    // How the search runs; the desktop program uses the defaults (huge table, all cores).
    CosetOptions options;
    // Runs a command that changes the cube list; the main window routes it past its own
    // list commands. Unset: runs it at once.
    std::function<void(const std::function<void()>&)> listCommand;

    QPlainTextEdit* info() const { return info_; }
    QLabel* progressLabel() const { return progress_; }
    // The memo's lines.
    std::vector<std::string> lines() const;

    void buttonStartClick();
    void buttonStopClick();
    void buttonAddCubesClick();
    void buttonExitClick();

    // The window has no system buttons: Escape does not close it either.
    void reject() override {}

signals:
    void closed();  // Exit: RunCosetExplorer is offered again

private:
    void searchEnded();
    void reportWhenPaused();
    void showProgress();
    void addLines(const std::vector<std::string>& lines);
    void setButtons(bool start, bool stop, bool addCubes, bool exit);
    void addCubesLeft();

    Events& events_;
    Prompts& prompts_;
    CubeList& list_;
    std::unique_ptr<CosetSearch> search_;
    bool creating_ = false;
    QPushButton* start_ = nullptr;
    QPushButton* stop_ = nullptr;
    QPushButton* addCubes_ = nullptr;
    QPushButton* exit_ = nullptr;
    QPlainTextEdit* info_ = nullptr;
    QLabel* progress_ = nullptr;
    QTimer progressTimer_;
    QTimer pauseTimer_;  // polls the threads after Stop until they have all paused
};

}  // namespace tx::ui
