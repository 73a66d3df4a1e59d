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

// What every row shares, measured from the controls in the current font (ManeuverRow::measure).
// At the default font a row is 108 pixels high with a picture of 4-pixel facelets and at least
// 650 wide; a larger font makes the lines of controls and the maneuver taller, the row with
// them, and the picture grows with the row, so no control or text is cut.
struct RowGeometry {
    static constexpr int kDefaultHeight = 108;
    static constexpr int kDefaultWidth = 650;
    static constexpr int kPictureX = 5;  // picture column 4 < x <= 4 + 33 facelet sizes
    int height = kDefaultHeight;         // from the top of one row to the top of the next
    int faceletSize = 4;
    int leastWidth = kDefaultWidth;      // the row's width when the pane is narrower
    int topLine = 26;                    // number, "Pattern Name:", name field, "optimal", run button
    int captionHeight = 26;              // the caption button of the second line
    int maneuverHeight = 58;
    // Widths of the controls whose size does not follow the pane.
    int nameCaptionWidth = 86, captionWidth = 84, optimalWidth = 76, runWidth = 80;

    int pictureWidth() const { return 33 * faceletSize; }
    int pictureHeight() const { return 24 * faceletSize; }
    int rightColumn() const { return kPictureX + pictureWidth() + 9; }
    int captionTop() const { return 4 + topLine + 6; }
    int maneuverTop() const { return captionTop() + 3; }
    // A selected row's frame: from 4 above the picture down to the maneuver's last line.
    int frameHeight() const { return height - 6; }
};

class ManeuverRow : public QObject {
    Q_OBJECT
public:
    ManeuverRow(int set, QWidget* viewport);

    // The rows' geometry for the fonts and style these controls have now.
    RowGeometry measure() const;
    // The list's font changed: the maneuver's fixed-pitch font follows its size.
    void followFont();

    int set() const { return set_; }
    int entry() const { return entry_; }  // -1 while hidden
    const Entry* boundEntry() const { return bound_; }

    // Shows entry `index` with its row's origin at viewport point (x, y) and the given width.
    // `maneuver` is the line the row shows; `runEnabled` whether searches may be started now.
    void show(int index, const Entry& e, const QString& maneuver, int x, int y, int width, bool runEnabled,
              const RowGeometry& g);
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
    void place(int x, int y, int width, const RowGeometry& g);
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
