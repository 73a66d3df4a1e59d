#include "ui/pat_edit.hpp"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/page_search.hpp"
#include "workspace/cube_list.hpp"

namespace tx::ui {

namespace {

constexpr const char* kStartSearch = "Start Search";
constexpr const char* kStopSearch = "Stop Search";
constexpr int kCellSize = 26;
constexpr int kCellPitch = 25;  // neighbouring cells share their border line
constexpr char kFaceLetters[] = "URFDLB";

}  // namespace

ColourSquare::ColourSquare(int value, QWidget* parent) : QWidget(parent), value_(value) {
    setFixedSize(kCellSize, kCellSize);
}

void ColourSquare::setValue(int value) {
    if (value == value_) return;
    value_ = value;
    update();
}

void ColourSquare::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), PatEdit::paletteColour(value_));
    p.setPen(palette().color(QPalette::WindowText));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void ColourSquare::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit clicked();
}

QColor PatEdit::paletteColour(int value) {
    switch (value) {
        case 1: return Qt::red;
        case 2: return Qt::yellow;
        case 3: return QColor(0, 255, 0);  // lime
        case 4: return Qt::blue;
        case 5: return Qt::white;
        default: return Qt::gray;
    }
}

PatEdit::PatEdit(CubeList& list, Events& events, QWidget* parent) : QWidget(parent), list_(list), events_(events) {
    setObjectName("PatEdit");
    auto* layout = new QHBoxLayout(this);
    auto* grid = new QGridLayout;
    for (int row = 0; row < kPatternRows; ++row) grid->addWidget(buildRow(row), row / 2, row % 2);
    grid->setRowStretch(3, 1);
    layout->addLayout(grid);
    auto* side = new QVBoxLayout;
    side->addWidget(buildPalette());
    continuous_ = new QCheckBox(tr("Continuous edge and corner colors"), this);
    continuous_->setObjectName("CheckBoxContinuous");
    findGenerators_ = new QCheckBox(tr("Find generators"), this);
    findGenerators_->setObjectName("FindGenerators");
    clear_ = new QPushButton(tr("Clear Patterns"), this);
    clear_->setObjectName("PatClear");
    run_ = new QPushButton(tr(kStartSearch), this);
    run_->setObjectName("RunPatButton");
    for (QWidget* w : std::initializer_list<QWidget*>{continuous_, findGenerators_, clear_, run_}) side->addWidget(w);
    side->addStretch();
    layout->addLayout(side);
    layout->addStretch();
    connect(clear_, &QPushButton::clicked, this, &PatEdit::clearPatterns);
    connect(run_, &QPushButton::clicked, this, &PatEdit::runClicked);
}

PatEdit::~PatEdit() {
    if (search_) search_->requestStop();
    search_.reset();
}

QWidget* PatEdit::buildPalette() {
    auto* box = new QGroupBox(tr("Palette"), this);
    auto* h = new QHBoxLayout(box);
    for (int value = 1; value <= 6; ++value) {
        auto* shape = new ColourSquare(value, box);
        shape->setObjectName(QString("PatShape%1").arg(value));
        connect(shape, &ColourSquare::clicked, this, [this, value] {  // PatShapeMouseDown
            current_ = value;
            currentShape_->setValue(value);
        });
        h->addWidget(shape);
    }
    h->addSpacing(12);
    h->addWidget(new QLabel(tr("Current:"), box));
    currentShape_ = new ColourSquare(current_, box);
    currentShape_->setObjectName("CurShape");
    h->addWidget(currentShape_);
    h->addStretch();
    return box;
}

QWidget* PatEdit::buildRow(int row) {
    auto* box = new QGroupBox(tr("Pattern %1").arg(row + 1), this);
    box->setObjectName(QString("PatBox%1").arg(row + 1));
    box->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    auto* h = new QHBoxLayout(box);
    auto* grid = new QWidget(box);
    grid->setFixedSize(2 * kCellPitch + kCellSize, 2 * kCellPitch + kCellSize);
    for (int k = 0; k < kPatternCells; ++k) {
        auto* c = new ColourSquare(kClearCell, grid);
        c->setObjectName(QString("PatCell%1_%2").arg(row + 1).arg(k));
        c->move(kCellPitch * (k % 3), kCellPitch * (k / 3));
        connect(c, &ColourSquare::clicked, this, [this, c] { c->setValue(current_); });
        cells_[row][k] = c;
    }
    h->addWidget(grid, 0, Qt::AlignTop);
    auto* boxes = new QGridLayout;
    for (int face = 0; face < 6; ++face) {
        auto* b = new QCheckBox(QString(kFaceLetters[face]), box);
        b->setObjectName(QString("CheckBox%1%2").arg(kFaceLetters[face]).arg(row + 1));
        b->setChecked(true);
        connect(b, &QCheckBox::clicked, this, [this, row] { faceBoxClicked(row); });
        boxes->addWidget(b, face % 3, face / 3);
        faceBoxes_[row][face] = b;
    }
    auto* all = new QCheckBox(tr("All"), box);
    all->setObjectName(QString("CheckBoxA%1").arg(row + 1));
    all->setTristate(true);
    all->setCheckState(Qt::Checked);
    connect(all, &QCheckBox::clicked, this, [this, row] { allBoxClicked(row); });
    boxes->addWidget(all, 3, 0, 1, 2);
    allBoxes_[row] = all;
    h->addLayout(boxes);
    return box;
}

int PatEdit::cellValue(int row, int cell) const { return cells_.at(row).at(cell)->value(); }
ColourSquare* PatEdit::cell(int row, int cell) const { return cells_.at(row).at(cell); }
QCheckBox* PatEdit::faceBox(int row, int face) const { return faceBoxes_.at(row).at(face); }
QCheckBox* PatEdit::allBox(int row) const { return allBoxes_.at(row); }

// CheckBoxOnClick: the "All" box sums up the row's face boxes.
void PatEdit::faceBoxClicked(int row) {
    int checked = 0;
    for (const QCheckBox* b : faceBoxes_[row]) checked += b->isChecked();
    allBoxes_[row]->setCheckState(checked == 0 ? Qt::Unchecked : checked == 6 ? Qt::Checked : Qt::PartiallyChecked);
}

// CheckBoxAOnClick: unchecked and checked set all six face boxes; the grey state with no face
// box checked becomes checked.
void PatEdit::allBoxClicked(int row) {
    QCheckBox* all = allBoxes_[row];
    if (all->checkState() == Qt::PartiallyChecked) {
        int checked = 0;
        for (const QCheckBox* b : faceBoxes_[row]) checked += b->isChecked();
        if (checked > 0) return;
        all->setCheckState(Qt::Checked);
    }
    for (QCheckBox* b : faceBoxes_[row]) b->setChecked(all->checkState() == Qt::Checked);
}

// PatClearClick.
void PatEdit::clearPatterns() {
    for (auto& row : cells_)
        for (ColourSquare* c : row) c->setValue(kClearCell);
}

PatternSet PatEdit::patterns() const {
    PatternSet set;
    for (int row = 0; row < kPatternRows; ++row) {
        for (int k = 0; k < kPatternCells; ++k) set.rows[row][k] = std::uint8_t(cells_[row][k]->value());
        for (int face = 0; face < 6; ++face) set.faces[row][face] = faceBoxes_[row][face]->isChecked();
    }
    set.continuous = continuous_->isChecked();
    return set;
}

void PatEdit::setStartEnabled(bool enabled) {
    startEnabled_ = enabled;
    run_->setEnabled(enabled || searchRunning());
}

// RunPatButtonClick.
void PatEdit::runClicked() {
    if (run_->text() != tr(kStartSearch)) {
        if (search_) search_->requestStop();
        return;
    }
    setRunningControls(true);
    // An empty row takes part for no face.
    for (int row = 0; row < kPatternRows; ++row) {
        bool empty = true;
        for (const ColourSquare* c : cells_[row]) empty = empty && c->value() == kClearCell;
        if (!empty) continue;
        allBoxes_[row]->setCheckState(Qt::Unchecked);
        for (QCheckBox* b : faceBoxes_[row]) b->setChecked(false);
    }
    search_ = std::make_unique<PatSearch>(patterns());
    startPageSearch(*search_, events_, this, &PatEdit::addFound, &PatEdit::searchEnded);
    emit searchRunningChanged(true);
}

void PatEdit::searchEnded() {
    search_.reset();
    setRunningControls(false);
    emit searchRunningChanged(false);
}

// The list's own isomorphism test stays as it is: a cube isomorphic to an entry is skipped.
void PatEdit::addFound(const FaceletCube& cube) {
    AddRequest how;
    how.showSolver = false;
    how.centersCount = false;
    how.cubieSubset = 0;
    how.interactive = false;
    how.startSearch = findGenerators_->isChecked();
    list_.addCube(cube, how);
}

void PatEdit::setRunningControls(bool running) {
    run_->setText(tr(running ? kStopSearch : kStartSearch));
    run_->setEnabled(running || startEnabled_);
    continuous_->setEnabled(!running);
    clear_->setEnabled(!running);
    for (int row = 0; row < kPatternRows; ++row) {
        for (QCheckBox* b : faceBoxes_[row]) b->setEnabled(!running);
        allBoxes_[row]->setEnabled(!running);
    }
}

}  // namespace tx::ui
