#include "ui/editor_page.hpp"

#include <QCheckBox>
#include <QColorDialog>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

#include "ui/colors.hpp"
#include "ui/facelet_editor_widget.hpp"
#include "ui/turn_button.hpp"

namespace tx::ui {

namespace {

struct TurnButtonDef {
    const char* name;
    const char* caption;
    int code;
};

// Face turns, middle layers and whole-cube rotations in the facelet turn codes.
constexpr TurnButtonDef kTurns[] = {
    {"ButtonU", "U", 0}, {"ButtonR", "R", 1}, {"ButtonF", "F", 2}, {"ButtonD", "D", 3},
    {"ButtonL", "L", 4}, {"ButtonB", "B", 5}, {"ButtonE", "E", kTurnE}, {"ButtonM", "M", kTurnM},
    {"ButtonS", "S", kTurnS}, {"Buttonx", "x", kTurnX}, {"Buttony", "y", kTurnY}, {"Buttonz", "z", kTurnZ},
};

QPushButton* makeButton(const char* name, const QString& caption, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    return b;
}

}  // namespace

EditorPage::EditorPage(FaceletEditor& editor, MersenneTwister& rng, Prompts* prompts, QWidget* parent)
    : QWidget(parent), editor_(editor), rng_(rng), prompts_(prompts) {
    setObjectName("TabSheet1");
    chooseColor = [this](const QColor& initial) -> std::optional<QColor> {
        QColor c = QColorDialog::getColor(initial, this, tr("Customize Color"));
        if (!c.isValid()) return std::nullopt;
        return c;
    };

    picture_ = new FaceletEditorWidget(editor_, prompts_, this);
    picture_->setObjectName("EditorPicture");
    connect(picture_, &FaceletEditorWidget::cubeChanged, this, &EditorPage::cubeEdited);
    connect(picture_, &FaceletEditorWidget::currentColorChanged, this, &EditorPage::updateSwatch);
    connect(picture_, &FaceletEditorWidget::centerDialogRequested, this, &EditorPage::centerDialogRequested);

    // Colour controls below the picture, in one row, so a narrow pane keeps them whole.
    auto* colorBox = new QGroupBox(tr("Color"), this);
    auto* colorLayout = new QVBoxLayout(colorBox);
    auto* colorRow = new QHBoxLayout;
    colorRow->addWidget(new QLabel(tr("Current:"), colorBox));
    swatch_ = new QFrame(colorBox);
    swatch_->setObjectName("CurColorShape");
    const int swatchSide = std::max(24, fontMetrics().height() * 2);
    swatch_->setFixedSize(swatchSide, swatchSide);
    swatch_->setFrameShape(QFrame::Box);
    swatch_->setAutoFillBackground(true);
    colorRow->addWidget(swatch_);
    auto* customize = makeButton("ButtonCustomize", tr("Customize Color..."), colorBox);
    connect(customize, &QPushButton::clicked, this, &EditorPage::customize);
    colorRow->addWidget(customize);
    colorCheck_ = new QCheckBox(tr("AutoFix"), colorBox);
    colorCheck_->setObjectName("ColorCheck");
    colorCheck_->setChecked(editor_.autoFix());
    connect(colorCheck_, &QCheckBox::toggled, this, [this](bool on) { editor_.setAutoFix(on); });
    colorRow->addWidget(colorCheck_);
    colorRow->addStretch();
    colorLayout->addLayout(colorRow);
    auto* hint = new QLabel(tr("Click a centre to pick its colour."), colorBox);
    hint->setWordWrap(true);
    colorLayout->addWidget(hint);

    auto* turnBox = new QGroupBox(tr("Turns (right click: inverse)"), this);
    buildTurnButtons(turnBox);
    auto* editBox = new QGroupBox(tr("Facelets"), this);
    buildEditButtons(editBox);

    auto* maneuverRow = new QHBoxLayout;
    maneuverRow->addWidget(new QLabel(tr("Maneuver:"), this));
    maneuver_ = new QLineEdit(this);
    maneuver_->setObjectName("EManeuver");
    connect(maneuver_, &QLineEdit::returnPressed, this, &EditorPage::applyManeuver);
    maneuverRow->addWidget(maneuver_, 1);
    auto* apply = makeButton("BApplyMan", tr("Apply"), this);
    connect(apply, &QPushButton::clicked, this, &EditorPage::applyManeuver);
    maneuverRow->addWidget(apply);

    auto* addRow = new QHBoxLayout;
    addSolve_ = makeButton("ButtonAddSolve", tr("Add and Solve"), this);
    addGen_ = makeButton("ButtonAddGen", tr("Add as Generator"), this);
    connect(addSolve_, &QPushButton::clicked, this, &EditorPage::addSolveRequested);
    connect(addGen_, &QPushButton::clicked, this, &EditorPage::addGenRequested);
    addRow->addWidget(addSolve_);
    addRow->addWidget(addGen_);
    addRow->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(picture_, 1);
    layout->addWidget(colorBox);
    layout->addWidget(turnBox);
    layout->addWidget(editBox);
    layout->addLayout(maneuverRow);
    layout->addLayout(addRow);

    refresh();
}

// Two rows: the face turns above, the middle layers and the rotations below, so the box
// stays narrow enough for a small window.
void EditorPage::buildTurnButtons(QWidget* box) {
    auto* grid = new QGridLayout(box);
    constexpr int kPerRow = 6;
    const int width = std::max(34, fontMetrics().horizontalAdvance("MM") + 12);
    int index = 0;
    for (const auto& t : kTurns) {
        auto* b = new TurnButton(t.caption, box);
        b->setObjectName(t.name);
        b->setFixedWidth(width);
        const int code = t.code;
        connect(b, &QPushButton::clicked, this, [this, code] { turn(code, false); });
        connect(b, &TurnButton::rightClicked, this, [this, code] { turn(code, true); });
        grid->addWidget(b, index / kPerRow, index % kPerRow);
        if (code < 6) faceButtons_.append(b);
        ++index;
    }
    grid->setColumnStretch(kPerRow, 1);
}

void EditorPage::buildEditButtons(QWidget* box) {
    auto* grid = new QGridLayout(box);
    struct EditButtonDef {
        const char* name;
        const char* caption;
        void (FaceletEditor::*operation)();
        int row, column;
    };
    const EditButtonDef defs[] = {
        {"ButtonEmpty", "Empty", &FaceletEditor::emptyAll, 0, 0},
        {"ButtonEmptyC", "Empty Corners", &FaceletEditor::emptyCorners, 0, 1},
        {"ButtonEmptyE", "Empty Edges", &FaceletEditor::emptyEdges, 0, 2},
        {"ButtonClear", "Clear", &FaceletEditor::clearAll, 1, 0},
        {"ButtonClearC", "Clear Corners", &FaceletEditor::clearCorners, 1, 1},
        {"ButtonClearE", "Clear Edges", &FaceletEditor::clearEdges, 1, 2},
    };
    for (const auto& s : defs) {
        auto* b = makeButton(s.name, tr(s.caption), box);
        auto operation = s.operation;
        connect(b, &QPushButton::clicked, this, [this, operation] { edit(operation); });
        grid->addWidget(b, s.row, s.column);
    }
    auto* random = makeButton("ButtonRandom", tr("Random"), box);
    connect(random, &QPushButton::clicked, this, [this] {
        editor_.randomize(rng_);
        cubeEdited();
        refresh();
    });
    grid->addWidget(random, 2, 0);
}

void EditorPage::turn(int code, bool inverse) {
    editor_.turnButton(code, inverse);
    cubeEdited();
    if (code >= kTurnX) {
        // Rotations and middle layers permute the scheme: the swatch may show another colour.
        updateSwatch();
        emit schemeChanged();
    }
}

void EditorPage::edit(void (FaceletEditor::*operation)()) {
    (editor_.*operation)();
    cubeEdited();
    refresh();
}

void EditorPage::customize() {
    const QColor initial = toQColor(editor_.scheme()[editor_.currentColor()]);
    const auto chosen = chooseColor ? chooseColor(initial) : std::nullopt;
    if (!chosen) return;
    editor_.customizeCurrentColor(fromQColor(*chosen));
    updateSwatch();
    picture_->update();
    emit schemeChanged();
}

void EditorPage::applyManeuver() {
    editor_.applyManeuverField(maneuver_->text().toLatin1().toStdString());
    cubeEdited();
    updateSwatch();
    emit schemeChanged();
}

void EditorPage::updateSwatch() {
    QPalette p = swatch_->palette();
    p.setColor(QPalette::Window, toQColor(editor_.scheme()[editor_.currentColor()]));
    swatch_->setPalette(p);
    swatch_->update();
}

void EditorPage::cubeEdited() {
    picture_->update();
    emit cubeChanged();
}

void EditorPage::setAddButtonsEnabled(bool enabled) {
    addEnabled_ = enabled;
    refresh();
}

bool EditorPage::addSolveEnabled() const { return addSolve_->isEnabled(); }

void EditorPage::refresh() {
    const bool faces = editor_.faceButtonsEnabled();
    for (auto* b : faceButtons_) b->setEnabled(faces);
    addSolve_->setEnabled(addEnabled_ && faces);
    addGen_->setEnabled(addEnabled_ && faces);
    {
        QSignalBlocker quiet(colorCheck_);  // showing the state is no change to write
        colorCheck_->setChecked(editor_.autoFix());
    }
    updateSwatch();
    picture_->update();
}

}  // namespace tx::ui
