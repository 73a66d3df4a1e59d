#pragma once
// One set of row controls of the maneuver window: the entry's number, "Pattern Name:" with
// the name field, the caption button ("Solver:"/"Generator:") before the maneuver line, the
// run/stop button and the "optimal" check box. A fixed number of sets is made once and
// bound to whichever rows are in view; each knows the entry it shows (-1 while hidden).
#include <QIcon>
#include <QObject>
#include <QString>

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class QWidget;

namespace tx {
struct Entry;
}

namespace tx::ui {

inline constexpr const char* kPatternNameCaption = "Pattern Name:";
inline constexpr const char* kSolverCaption = "Solver:";
inline constexpr const char* kGeneratorCaption = "Generator:";
inline constexpr const char* kRunCaption = "Run";
inline constexpr const char* kStopCaption = "Stop";
inline constexpr const char* kOptimalCaption = "optimal";
inline constexpr int kPatternNameLength = 30;

// The glyphs of the run/stop button: a green triangle, a red square.
QIcon runGlyph();
QIcon stopGlyph();

class ManeuverRow : public QObject {
    Q_OBJECT
public:
    // Positions inside a row, relative to its top-left corner (content x 0, the row's top).
    static constexpr int kRightColumn = 146;
    static constexpr int kLeastWidth = 650;  // the row's width when the pane is narrower

    ManeuverRow(int set, QWidget* viewport);

    int set() const { return set_; }
    int entry() const { return entry_; }  // -1 while hidden
    const Entry* boundEntry() const { return bound_; }

    // Shows entry `index` with its row's origin at viewport point (x, y) and the given width.
    // `maneuver` is the line the row shows; `runEnabled` whether searches may be started now.
    void show(int index, const Entry& e, const QString& maneuver, int x, int y, int width, bool runEnabled);
    void hide();

    // The button shows "Stop" (the entry's search runs).
    bool showsStop() const { return stop_; }

    QLabel* numberLabel() const { return number_; }
    QLabel* nameCaption() const { return nameCaption_; }
    QLineEdit* nameField() const { return name_; }
    QPushButton* captionButton() const { return caption_; }
    QLabel* maneuverLabel() const { return maneuver_; }
    QToolButton* runButton() const { return run_; }
    QCheckBox* optimalBox() const { return optimal_; }

signals:
    void runClicked(int entry);
    void captionClicked(int entry);
    void nameEdited(int entry, const QString& name);
    void optimalClicked(int entry, bool checked);

private:
    std::array<QWidget*, 7> widgets() const;
    void place(int x, int y, int width);
    void setStop(bool stop);

    int set_;
    int entry_ = -1;
    const Entry* bound_ = nullptr;
    bool stop_ = false;
    QLabel* number_ = nullptr;
    QLabel* nameCaption_ = nullptr;
    QLineEdit* name_ = nullptr;
    QPushButton* caption_ = nullptr;
    QLabel* maneuver_ = nullptr;
    QToolButton* run_ = nullptr;
    QCheckBox* optimal_ = nullptr;
};

}  // namespace tx::ui
