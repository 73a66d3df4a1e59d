#include "ui/incomplete.hpp"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/prompts.hpp"
#include "searches/incomp_search.hpp"
#include "ui/table_service.hpp"
#include "workspace/cube_list.hpp"
#include "workspace/facelet_editor.hpp"
#include "workspace/incomp_entries.hpp"

namespace tx::ui {

namespace {

constexpr const char* kFilterNames[4] = {"FFilter", "DFilter", "LFilter", "BFilter"};
constexpr int kFilterFaces[4] = {F, D, L, B};
constexpr const char* kTwistNames[6] = {"UTwist", "RTwist", "FTwist", "DTwist", "LTwist", "BTwist"};
constexpr const char* kFaceLetters[6] = {"U", "R", "F", "D", "L", "B"};
// Not a message box: a line of the list, for the one case the search can tell at once.
constexpr const char* kUnsolvable = "No maneuver solves the defined facelets with the moves allowed.";
constexpr const char* kNoTables = "The solver tables are not loaded.";

QPushButton* button(const char* name, const QString& caption, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    return b;
}

}  // namespace

TIncomplete::TIncomplete(Links links, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint),
      links_(std::move(links)) {
    setObjectName("Incomplete");
    setWindowTitle(tr("Partially Defined Cube"));

    manInfo_ = new QPlainTextEdit(this);
    manInfo_->setObjectName("ManInfo");
    manInfo_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    manInfo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    manInfo_->setMinimumSize(420, 360);

    auto* side = new QVBoxLayout;
    buildOptions(this);
    side->addWidget(sliceAllowed_);
    side->addWidget(filters_[0]->parentWidget());
    side->addWidget(centerGroup_);
    side->addStretch();
    bStop_ = button("BStop", tr("Stop"), this);
    bClear_ = button("BClear", tr("Clear"), this);
    bAdd_ = button("BAdd", tr("Add to Main Window"), this);
    bStop_->setEnabled(false);
    for (QPushButton* b : {bStop_, bClear_, bAdd_}) side->addWidget(b);
    connect(bStop_, &QPushButton::clicked, this, &TIncomplete::bStopClick);
    connect(bClear_, &QPushButton::clicked, this, &TIncomplete::bClearClick);
    connect(bAdd_, &QPushButton::clicked, this, &TIncomplete::bAddClick);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(manInfo_, 1);
    layout->addLayout(side);
}

TIncomplete::~TIncomplete() = default;

void TIncomplete::buildOptions(QWidget* box) {
    sliceAllowed_ = new QCheckBox(tr("Allow Slice Moves"), box);
    sliceAllowed_->setObjectName("SliceAllowed");
    connect(sliceAllowed_, &QCheckBox::clicked, this, &TIncomplete::sliceAllowedClick);

    auto* filters = new QGroupBox(tr("Faces Not Turned"), box);
    filters->setObjectName("FaceFilter");
    auto* filterRow = new QHBoxLayout(filters);
    for (int i = 0; i < 4; ++i) {
        filters_[i] = new QCheckBox(kFaceLetters[kFilterFaces[i]], filters);
        filters_[i]->setObjectName(kFilterNames[i]);
        filterRow->addWidget(filters_[i]);
    }

    centerGroup_ = new QGroupBox(tr("Centre Orientation Ignored"), box);
    centerGroup_->setObjectName("CenTwistExclude");
    auto* grid = new QGridLayout(centerGroup_);
    for (int k = 0; k < 6; ++k) {
        centerBoxes_[k] = new QCheckBox(kFaceLetters[k], centerGroup_);
        centerBoxes_[k]->setObjectName(kTwistNames[k]);
        grid->addWidget(centerBoxes_[k], k / 3, k % 3);
    }
    centerGroup_->setEnabled(false);  // until a cube that counts its centres comes
}

void TIncomplete::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous() && screen()) move(screen()->availableGeometry().center() - rect().center());
}

unsigned TIncomplete::excludedFaces() const {
    unsigned faces = 0;
    if (sliceMoves_) return faces;  // the filters are for face turns only
    for (int i = 0; i < 4; ++i)
        if (filters_[i]->isChecked()) faces |= 1u << kFilterFaces[i];
    return faces;
}

int TIncomplete::ignoredCenters() const {
    int bits = 0;
    for (int k = 0; k < 6; ++k)
        if (centerBoxes_[k]->isChecked()) bits |= ignoredCenterBits(k);
    return bits;
}

void TIncomplete::startFor(const FaceletCube& cube) {
    if (running_) {
        links_.prompts->message(kStopSearchFirst, kFaceletEditorCaption);
        return;
    }
    centerGroup_->setEnabled(cube.centersCount);
    show();
    raise();
    activateWindow();
    auto tables = links_.tables ? links_.tables->incompTables() : nullptr;
    if (!tables || tables->sliceMode != sliceMoves_) {
        appendLines({kNoTables, ""});
        return;
    }
    IncompOptions options;
    options.sliceMoves = sliceMoves_;
    options.excludedFaces = excludedFaces();
    options.ignoredCenters = cube.centersCount ? ignoredCenters() : 0;
    search_ = std::make_unique<IncompSearch>(cube.toCubieCube(), options, std::move(tables));
    running_ = true;
    bClear_->setEnabled(false);
    bStop_->setEnabled(true);
    appendLines({incompModeMessage(search_->mode()), kComputationStarted, ""});
    search_->start(*links_.events, [this](const IncompReport& r) { report(r); });
}

// Lines are gathered and shown together, so a fast search does not repaint for each one.
void TIncomplete::report(const IncompReport& r) {
    switch (r.kind) {
        case IncompReport::Kind::Depth:
            pendingLines_ << QString::fromStdString(incompDepthLine(r.depth)) << QString();
            break;
        case IncompReport::Kind::Found:
            pendingLines_ << QString::fromStdString(incompLine(r, links_.list->metricLetter(), sliceMoves_));
            break;
        case IncompReport::Kind::Unsolvable:
            pendingLines_ << kUnsolvable << QString();
            break;
    }
    if (flushQueued_) return;
    flushQueued_ = true;
    QTimer::singleShot(0, this, &TIncomplete::flushFound);
}

void TIncomplete::flushFound() {
    flushQueued_ = false;
    if (pendingLines_.isEmpty()) return;
    appendLines(pendingLines_);
    pendingLines_.clear();
}

void TIncomplete::appendLines(const QStringList& lines) { manInfo_->appendPlainText(lines.join('\n')); }

void TIncomplete::stopSearch() {
    if (search_) search_->stop();  // what it found before comes now
    search_.reset();               // and its tables go
    running_ = false;
}

void TIncomplete::bStopClick() {
    if (!running_) return;
    bStop_->setEnabled(false);
    bClear_->setEnabled(true);
    stopSearch();
    flushFound();
    appendLines({"", kComputationStopped, ""});
}

void TIncomplete::bClearClick() { manInfo_->clear(); }

void TIncomplete::bAddClick() {
    std::vector<std::string> lines;
    for (const QString& line : manInfo_->toPlainText().split('\n')) lines.push_back(line.toStdString());
    auto add = [this, lines] { addIncompLines(*links_.list, lines); };
    if (links_.listCommand)
        links_.listCommand(add);
    else
        add();
}

void TIncomplete::sliceAllowedClick(bool checked) {
    if (running_) {
        links_.prompts->message(kStopBeforeSliceSwitch, "");
        const QSignalBlocker quiet(sliceAllowed_);
        sliceAllowed_->setChecked(!checked);
        return;
    }
    sliceMoves_ = checked;
    for (QCheckBox* f : filters_) f->setEnabled(!checked);
    // The window stays alive while the tables are made, but nothing here may start meanwhile.
    setEnabled(false);
    if (links_.busy) links_.busy(true);
    if (links_.tables) links_.tables->buildIncompTables(checked);
    if (links_.busy) links_.busy(false);
    setEnabled(true);
}

// Closing stops the search without the closing lines and empties the list.
void TIncomplete::closeEvent(QCloseEvent* event) {
    if (running_) {
        stopSearch();
        bClear_->setEnabled(true);
        bStop_->setEnabled(false);
    }
    pendingLines_.clear();
    manInfo_->clear();
    event->accept();
}

void TIncomplete::reject() { close(); }

}  // namespace tx::ui
