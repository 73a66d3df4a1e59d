#include "ui/maneuver_row.hpp"

#include <algorithm>

#include <QCheckBox>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QToolButton>
#include <QValidator>

#include <algorithm>

#include "workspace/entry.hpp"

namespace tx::ui {

namespace {

// Geometry of the controls inside a row: x from the row's left edge, y from its top.
struct Slot {
    int x, y, w, h;
};
constexpr Slot kNumber{7, 1, 42, 14};
constexpr Slot kNameCaption{ManeuverRow::kRightColumn, 6, 86, 22};
constexpr Slot kName{234, 5, 232, 24};
constexpr Slot kOptimal{478, 6, 76, 22};
constexpr Slot kRun{560, 4, 80, 26};
constexpr Slot kCaption{ManeuverRow::kRightColumn, 36, 84, 26};
constexpr Slot kManeuver{236, 39, 404, 58};

QIcon glyph(bool square) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    if (square) {
        p.setPen(QPen(QColor(120, 0, 0), 1));
        p.setBrush(QColor(214, 40, 40));
        p.drawRect(QRectF(3.5, 3.5, 9, 9));
    } else {
        p.setPen(QPen(QColor(0, 90, 0), 1));
        p.setBrush(QColor(40, 170, 60));
        const QPointF triangle[] = {{4.0, 2.5}, {13.5, 8.0}, {4.0, 13.5}};
        p.drawPolygon(triangle, 3);
    }
    return QIcon(pixmap);
}

void setSlot(QWidget* w, const Slot& s, int x, int y) { w->setGeometry(x + s.x, y + s.y, s.w, s.h); }

// Typing may make a name at most kPatternNameLength characters long; a longer name that came
// from a file or from the program (symmetry annotations) is shown whole and may only be
// shortened. The limit follows the field's text: max(kPatternNameLength, its length now).
class NameLengthValidator : public QValidator {
public:
    explicit NameLengthValidator(QLineEdit* field) : QValidator(field) {
        connect(field, &QLineEdit::textChanged, this,
                [this](const QString& text) { limit_ = std::max<qsizetype>(kPatternNameLength, text.size()); });
    }
    State validate(QString& input, int&) const override { return input.size() <= limit_ ? Acceptable : Invalid; }

private:
    qsizetype limit_ = kPatternNameLength;
};

}  // namespace

QIcon runGlyph() {
    static const QIcon icon = glyph(false);
    return icon;
}

QIcon stopGlyph() {
    static const QIcon icon = glyph(true);
    return icon;
}

ManeuverRow::ManeuverRow(int set, QWidget* viewport) : QObject(viewport), set_(set) {
    setObjectName(QString("RowControls%1").arg(set));

    number_ = new QLabel(viewport);
    number_->setObjectName("RowNumber");
    QFont bold = number_->font();
    bold.setBold(true);
    number_->setFont(bold);

    nameCaption_ = new QLabel(tr(kPatternNameCaption), viewport);
    nameCaption_->setObjectName("PatternNameLabel");

    name_ = new QLineEdit(viewport);
    name_->setObjectName("PatternName");
    name_->setValidator(new NameLengthValidator(name_));
    connect(name_, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (entry_ >= 0) emit nameEdited(entry_, text);
    });

    optimal_ = new QCheckBox(tr(kOptimalCaption), viewport);
    optimal_->setObjectName("OptimalBox");
    connect(optimal_, &QCheckBox::clicked, this, [this](bool checked) {
        if (entry_ >= 0) emit optimalClicked(entry_, checked);
    });

    run_ = new QToolButton(viewport);
    run_->setObjectName("RunButton");
    run_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    run_->setAutoRaise(false);
    connect(run_, &QToolButton::clicked, this, [this] {
        if (entry_ >= 0) emit runClicked(entry_);
    });
    setStop(false);

    caption_ = new QPushButton(tr(kSolverCaption), viewport);
    caption_->setObjectName("CaptionButton");
    caption_->setFocusPolicy(Qt::TabFocus);
    connect(caption_, &QPushButton::clicked, this, [this] {
        if (entry_ >= 0) emit captionClicked(entry_);
    });

    maneuver_ = new QLabel(viewport);
    maneuver_->setObjectName("ManeuverText");
    maneuver_->setWordWrap(true);
    maneuver_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    maneuver_->setTextFormat(Qt::PlainText);
    maneuver_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSizeF(std::max(8.0, maneuver_->font().pointSizeF()));
    maneuver_->setFont(fixed);

    hide();
}

std::array<QWidget*, 7> ManeuverRow::widgets() const {
    return {number_, nameCaption_, name_, optimal_, run_, caption_, maneuver_};
}

// At the least width the slots stand as given; a wider row moves the run button and the
// "optimal" box to its right edge and gives the name field and the maneuver the room. The
// captions are as wide as their text needs in the current font.
void ManeuverRow::place(int x, int y, int width) {
    const int extra = std::max(0, width - kLeastWidth);
    auto shifted = [extra](Slot s) {
        s.x += extra;
        return s;
    };
    const int captionWidth = std::max(kNameCaption.w, nameCaption_->sizeHint().width());
    const int buttonWidth = std::max(kCaption.w, caption_->sizeHint().width());
    const Slot optimal = shifted({kOptimal.x, kOptimal.y, std::max(kOptimal.w, optimal_->sizeHint().width()), kOptimal.h});
    const int nameX = std::max(kName.x, kNameCaption.x + captionWidth + 2);
    const int maneuverX = std::max(kManeuver.x, kCaption.x + buttonWidth + 6);
    setSlot(number_, kNumber, x, y);
    setSlot(nameCaption_, {kNameCaption.x, kNameCaption.y, captionWidth, kNameCaption.h}, x, y);
    setSlot(name_, {nameX, kName.y, std::max(60, optimal.x - 12 - nameX), kName.h}, x, y);
    setSlot(optimal_, optimal, x, y);
    setSlot(run_, shifted(kRun), x, y);
    setSlot(caption_, {kCaption.x, kCaption.y, buttonWidth, kCaption.h}, x, y);
    setSlot(maneuver_, {maneuverX, kManeuver.y, kManeuver.w + extra - (maneuverX - kManeuver.x), kManeuver.h}, x, y);
}

void ManeuverRow::setStop(bool stop) {
    stop_ = stop;
    run_->setText(stop ? tr(kStopCaption) : tr(kRunCaption));
    run_->setToolTip(run_->text());
    run_->setIcon(stop ? stopGlyph() : runGlyph());
}

void ManeuverRow::show(int index, const Entry& e, const QString& maneuver, int x, int y, int width,
                       bool runEnabled) {
    const bool rebound = entry_ != index || bound_ != &e;
    entry_ = index;
    bound_ = &e;
    place(x, y, width);

    const QString number = QString::number(index + 1) + ".";
    if (number_->text() != number) number_->setText(number);

    // The user's typing is not overwritten: the field already holds what was typed.
    const QString name = QString::fromStdString(e.patternName);
    if ((rebound || !name_->hasFocus()) && name_->text() != name) name_->setText(name);

    const QString caption = e.showSolver ? tr(kSolverCaption) : tr(kGeneratorCaption);
    if (caption_->text() != caption) caption_->setText(caption);
    if (maneuver_->text() != maneuver) maneuver_->setText(maneuver);

    if (stop_ != e.searchRunning) setStop(e.searchRunning);
    run_->setEnabled(runEnabled || e.searchRunning);  // a running search can always be stopped

    if (optimal_->isChecked() != e.useOptimal) optimal_->setChecked(e.useOptimal);
    QString log = QString::fromStdString(e.optimalLog);
    log.replace("\r\n", "\n").replace('\r', '\n');
    while (log.startsWith('\n')) log.remove(0, 1);
    if (optimal_->toolTip() != log) optimal_->setToolTip(log);

    for (QWidget* w : widgets())
        if (w->isHidden()) w->show();
}

void ManeuverRow::hide() {
    entry_ = -1;
    bound_ = nullptr;
    for (QWidget* w : widgets()) w->hide();
}

}  // namespace tx::ui
