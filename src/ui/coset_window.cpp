#include "ui/coset_window.hpp"

#include <QApplication>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>

#include "platform/prompts.hpp"
#include "searches/coset_text.hpp"
#include "workspace/cube_list.hpp"

namespace tx::ui {

namespace {
constexpr int kProgressInterval = 1000;  // milliseconds
constexpr int kPausePoll = 10;
}

TCoset::TCoset(Events& events, Prompts& prompts, CubeList& list, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint),
      events_(events),
      prompts_(prompts),
      list_(list) {
    setObjectName("Coset");
    setWindowTitle(tr("Coset Explorer"));

    info_ = new QPlainTextEdit(this);
    info_->setObjectName("Info");
    info_->setReadOnly(true);
    info_->setLineWrapMode(QPlainTextEdit::NoWrap);
    info_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    info_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    const QFontMetrics metrics(info_->font());
    // Wide enough for the start line of any coset.
    info_->setMinimumSize(metrics.horizontalAdvance(QString(80, 'M')), metrics.lineSpacing() * 28);

    progress_ = new QLabel(this);
    progress_->setObjectName("LProgress");
    progress_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);  // never widens the window

    auto button = [this](const char* name, const QString& caption, void (TCoset::*click)()) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, click);
        return b;
    };
    start_ = button("ButtonStart", tr("Start"), &TCoset::buttonStartClick);
    stop_ = button("ButtonStop", tr("Stop"), &TCoset::buttonStopClick);
    addCubes_ = button("ButtonAddCubes", tr("Add Cubes"), &TCoset::buttonAddCubesClick);
    exit_ = button("ButtonExit", tr("Exit"), &TCoset::buttonExitClick);
    stop_->setEnabled(false);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {start_, stop_, addCubes_, exit_}) buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(info_, 1);
    layout->addWidget(progress_);
    layout->addLayout(buttons);

    progressTimer_.setInterval(kProgressInterval);
    connect(&progressTimer_, &QTimer::timeout, this, &TCoset::showProgress);
    pauseTimer_.setInterval(kPausePoll);
    connect(&pauseTimer_, &QTimer::timeout, this, &TCoset::reportWhenPaused);
}

TCoset::~TCoset() = default;

bool TCoset::run(const FaceletCube& cube, const TableSet& tables) {
    if (open()) return false;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        resize(sizeHint());
        move(screen->availableGeometry().center() - rect().center());
    }
    show();
    raise();
    setButtons(false, false, false, false);
    creating_ = true;
    std::string why;
    // The images of the symmetries take a moment: the windows stay alive meanwhile.
    auto search = CosetSearch::create(cube.toCubieCube(), tables, events_, options,
                                      [] { QCoreApplication::processEvents(); }, &why);
    creating_ = false;
    if (!search) {
        hide();
        prompts_.message(why, kManeuverWindow, Icon::Warning);
        emit closed();
        return false;
    }
    search_ = std::move(search);
    search_->onEnd = [this] { searchEnded(); };
    buttonStartClick();
    return true;
}

std::vector<std::string> TCoset::lines() const {
    std::vector<std::string> out;
    const QString text = info_->toPlainText();
    if (text.isEmpty()) return out;  // no lines, not one empty line
    for (const QString& line : text.split('\n')) out.push_back(line.toStdString());
    return out;
}

void TCoset::addLines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) info_->appendPlainText(QString::fromStdString(line));
    info_->verticalScrollBar()->setValue(info_->verticalScrollBar()->maximum());
}

void TCoset::setButtons(bool start, bool stop, bool addCubes, bool exit) {
    start_->setEnabled(start);
    stop_->setEnabled(stop);
    addCubes_->setEnabled(addCubes);
    exit_->setEnabled(exit);
}

void TCoset::buttonStartClick() {
    if (!search_ || search_->finished()) return;
    setButtons(false, true, false, false);
    addLines(cosetStartLines(search_->cosetNumber(), search_->startTime(), search_->symmetryMask()));
    search_->start();
    progressTimer_.start();
    showProgress();
}

// The threads pause at their next checkpoint; the report follows once they all have, and
// the buttons stay disabled until then.
void TCoset::buttonStopClick() {
    if (!search_ || search_->finished() || pauseTimer_.isActive()) return;
    search_->requestPause();
    progressTimer_.stop();
    setButtons(false, false, false, false);
    pauseTimer_.start();
    reportWhenPaused();
}

void TCoset::reportWhenPaused() {
    if (!search_ || !search_->halted()) return;
    pauseTimer_.stop();
    if (search_->finished()) return;  // the end report was written instead
    showProgress();
    setButtons(true, false, true, true);
    const auto now = CosetSearch::Clock::now();
    addLines(cosetStopLines(search_->depthTotals(), search_->reachedCount(), search_->currentFirstMove(), now,
                            hoursBetween(search_->startTime(), now)));
}

// The search ended: every depth is done, or every position was reached.
void TCoset::searchEnded() {
    progressTimer_.stop();
    pauseTimer_.stop();
    showProgress();
    const auto now = CosetSearch::Clock::now();
    addLines(cosetEndLines(search_->depthTotals(), search_->reachedCount(), search_->maxDepth(), now,
                           hoursBetween(search_->startTime(), now)));
    setButtons(false, false, true, true);
}

void TCoset::showProgress() {
    if (search_) progress_->setText(QString::fromStdString(cosetProgressText(search_->progress())));
}

void TCoset::buttonAddCubesClick() {
    if (!search_) return;
    if (search_->positionsLeft() > kCosetAddLimit && !search_->finished()) {
        addLines({kCosetTooManyLeft, ""});
        return;
    }
    if (listCommand)
        listCommand([this] { addCubesLeft(); });
    else
        addCubesLeft();
}

// Each position p left becomes the cube p^-1 R of the coset, added as the list adds any cube
// that no search found: not interactive, no search started.
void TCoset::addCubesLeft() {
    AddRequest how;
    how.interactive = false;
    how.startSearch = false;
    std::size_t added = 0;
    search_->forEachCubeLeft([&](const CubieCube& c) {
        FaceletCube f;
        f.setFromCubieCube(c);
        list_.addCube(f, how);
        if (++added % 1000 == 0) list_.pump();
        return true;
    });
}

void TCoset::buttonExitClick() {
    if (!prompts_.yes(kCosetExitQuestion, kManeuverWindow, Icon::Warning)) return;
    progressTimer_.stop();
    pauseTimer_.stop();
    search_.reset();
    info_->clear();
    progress_->clear();
    hide();
    emit closed();
}

}  // namespace tx::ui
