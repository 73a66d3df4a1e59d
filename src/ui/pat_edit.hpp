#pragma once
// The pattern editor page (PatEdit): a palette of six colours (PatShape1..PatShape6, the
// current one shown in CurShape), five pattern rows (PatBox1..PatBox5) of 3 x 3 cells, the
// face boxes CheckBoxU1..CheckBoxB5 and the three-state "All" boxes CheckBoxA1..CheckBoxA5
// that say which faces may show each row, and the buttons that clear the patterns and start
// or stop the pattern search. Cubes found go into the cube list.
#include <QWidget>

#include <array>
#include <memory>

#include "platform/events.hpp"
#include "searches/pat_search.hpp"

class QCheckBox;
class QPushButton;

namespace tx {
class CubeList;
}

namespace tx::ui {

// A square of one palette colour: a palette shape, the current colour or a pattern cell.
class ColourSquare : public QWidget {
    Q_OBJECT
public:
    ColourSquare(int value, QWidget* parent);
    int value() const { return value_; }
    void setValue(int value);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int value_;
};

class PatEdit : public QWidget {
    Q_OBJECT
public:
    PatEdit(CubeList& list, Events& events, QWidget* parent = nullptr);
    ~PatEdit() override;

    static QColor paletteColour(int value);  // palette value 1..6
    int currentValue() const { return current_; }
    int cellValue(int row, int cell) const;       // row 0..4, cell 0..8
    ColourSquare* cell(int row, int cell) const;
    QCheckBox* faceBox(int row, int face) const;  // face 0..5 = U R F D L B
    QCheckBox* allBox(int row) const;
    // The rows and boxes as the search would take them now.
    PatternSet patterns() const;
    bool searchRunning() const { return search_ != nullptr; }
    // RunPatButton follows the window's rule for controls that start searches.
    void setStartEnabled(bool enabled);

signals:
    void searchRunningChanged(bool running);

private:
    QWidget* buildPalette();
    QWidget* buildRow(int row);
    void faceBoxClicked(int row);
    void allBoxClicked(int row);
    void clearPatterns();
    void runClicked();
    void searchEnded();
    void addFound(const FaceletCube& cube);
    void setRunningControls(bool running);

    CubeList& list_;
    Events& events_;
    int current_ = 1;
    ColourSquare* currentShape_ = nullptr;
    std::array<std::array<ColourSquare*, kPatternCells>, kPatternRows> cells_{};
    std::array<std::array<QCheckBox*, 6>, kPatternRows> faceBoxes_{};
    std::array<QCheckBox*, kPatternRows> allBoxes_{};
    QCheckBox* continuous_ = nullptr;
    QCheckBox* findGenerators_ = nullptr;
    QPushButton* clear_ = nullptr;
    QPushButton* run_ = nullptr;
    std::unique_ptr<PatSearch> search_;
    bool startEnabled_ = true;
};

}  // namespace tx::ui
