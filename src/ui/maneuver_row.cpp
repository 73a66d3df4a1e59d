#include "ui/maneuver_row.hpp"

#include <algorithm>
#include <type_traits>

#include <QCheckBox>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QToolButton>
#include <QValidator>

#include "workspace/entry.hpp"

namespace tx::ui {

namespace {

// The controls' sizes at the default font; a larger font only ever makes them bigger.
constexpr int kNumberWidth = 42, kNumberHeight = 14, kNameHeight = 24, kLabelHeight = 22, kButtonHeight = 26;
constexpr int kManeuverWidth = 404, kManeuverHeight = 58;
// Room the name field and the maneuver keep in characters when the font grows (the default
// font leaves them more: 231 and 404 pixels).
constexpr int kManeuverColumns = 48, kManeuverLines = 3;
// Gaps: after "Pattern Name:", after the name field, between "optimal" and the run button,
// at the row's right edge, after the caption button and below the maneuver.
constexpr int kAfterCaption = 2, kAfterName = 12, kBeforeRun = 6, kRightMargin = 10, kAfterButton = 6;
constexpr int kBelowManeuver = 11;

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

// The width a button asks for with each of the given texts, in its font and style: a copy
// of it that is never shown.
template <class Button>
int widestFor(const Button* button, std::initializer_list<const char*> texts) {
    Button probe;
    probe.setStyle(button->style());
    probe.setFont(button->font());
    probe.setIcon(button->icon());
    if constexpr (std::is_same_v<Button, QToolButton>) probe.setToolButtonStyle(button->toolButtonStyle());
    int widest = 0;
    for (const char* text : texts) {
        probe.setText(QObject::tr(text));
        widest = std::max(widest, probe.sizeHint().width());
    }
    return widest;
}

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
    followFont();

    hide();
}

std::array<QWidget*, 7> ManeuverRow::widgets() const {
    return {number_, nameCaption_, name_, optimal_, run_, caption_, maneuver_};
}

RowGeometry ManeuverRow::measure() const {
    RowGeometry g;
    g.topLine = std::max({kButtonHeight, name_->sizeHint().height(), optimal_->sizeHint().height(),
                          run_->sizeHint().height(), nameCaption_->sizeHint().height()});
    g.captionHeight = std::max(kButtonHeight, caption_->sizeHint().height());
    const QFontMetrics fixed = maneuver_->fontMetrics();
    g.maneuverHeight = std::max(kManeuverHeight, kManeuverLines * fixed.lineSpacing());
    const int below = std::max(g.captionHeight, 3 + g.maneuverHeight) + kBelowManeuver;
    g.height = std::max(RowGeometry::kDefaultHeight, g.captionTop() + below);
    // The picture fills the row as it does at the default size.
    g.faceletSize = std::max(4, (g.height - 12) / 24);

    g.nameCaptionWidth = std::max(g.nameCaptionWidth, nameCaption_->sizeHint().width());
    g.captionWidth = std::max(g.captionWidth, widestFor(caption_, {kSolverCaption, kGeneratorCaption}));
    g.optimalWidth = std::max(g.optimalWidth, optimal_->sizeHint().width());
    g.runWidth = std::max(g.runWidth, widestFor(run_, {kRunCaption, kStopCaption}));
    const int nameWidth = kPatternNameLength * name_->fontMetrics().averageCharWidth();
    const int maneuverWidth = std::max(kManeuverWidth, kManeuverColumns * fixed.averageCharWidth());
    const int topWidth = g.rightColumn() + g.nameCaptionWidth + kAfterCaption + nameWidth + kAfterName +
                         g.optimalWidth + kBeforeRun + g.runWidth + kRightMargin;
    const int secondWidth = g.rightColumn() + g.captionWidth + kAfterButton + maneuverWidth + kRightMargin;
    g.leastWidth = std::max({RowGeometry::kDefaultWidth, topWidth, secondWidth});
    return g;
}

void ManeuverRow::followFont() {
    const QFont list = nameCaption_->font();
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (list.pointSizeF() > 0)
        fixed.setPointSizeF(std::max(8.0, list.pointSizeF()));
    else
        fixed.setPixelSize(list.pixelSize());
    maneuver_->setFont(fixed);
}

// The top line's controls stand centred on it, the caption button and the maneuver below; the
// run button and the "optimal" box keep to the row's right edge, and the name field and the
// maneuver take the width the row has beyond its least width.
void ManeuverRow::place(int x, int y, int width, const RowGeometry& g) {
    const int right = std::max(width, g.leastWidth) - kRightMargin;
    auto onTopLine = [&](QWidget* w, int left, int wide, int least) {
        const int h = std::min(g.topLine, std::max(least, w->sizeHint().height()));
        w->setGeometry(x + left, y + 4 + (g.topLine - h) / 2, wide, h);
    };
    number_->setGeometry(x + 7, y + 1, std::max(kNumberWidth, number_->sizeHint().width()),
                         std::max(kNumberHeight, number_->sizeHint().height()));
    const int column = g.rightColumn();
    onTopLine(nameCaption_, column, g.nameCaptionWidth, kLabelHeight);
    const int runX = right - g.runWidth;
    const int optimalX = runX - kBeforeRun - g.optimalWidth;
    const int nameX = column + g.nameCaptionWidth + kAfterCaption;
    onTopLine(name_, nameX, std::max(60, optimalX - kAfterName - nameX), kNameHeight);
    onTopLine(optimal_, optimalX, g.optimalWidth, kLabelHeight);
    onTopLine(run_, runX, g.runWidth, kButtonHeight);
    caption_->setGeometry(x + column, y + g.captionTop(), g.captionWidth, g.captionHeight);
    const int maneuverX = std::max(column + 90, column + g.captionWidth + kAfterButton);
    maneuver_->setGeometry(x + maneuverX, y + g.maneuverTop(), right - maneuverX, g.maneuverHeight);
}

void ManeuverRow::setStop(bool stop) {
    stop_ = stop;
    run_->setText(stop ? tr(kStopCaption) : tr(kRunCaption));
    run_->setToolTip(run_->text());
    run_->setIcon(stop ? stopGlyph() : runGlyph());
}

void ManeuverRow::show(int index, const Entry& e, const QString& maneuver, int x, int y, int width,
                       bool runEnabled, const RowGeometry& g) {
    const bool rebound = entry_ != index || bound_ != &e;
    entry_ = index;
    bound_ = &e;
    place(x, y, width, g);

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
