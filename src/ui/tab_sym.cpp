// The symmetry page: its controls and their layout.
#include "ui/tab_sym.hpp"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "searches/sy_search.hpp"
#include "ui/group_pictures.hpp"
#include "workspace/cube_list.hpp"

namespace tx::ui {

namespace {

constexpr const char* kStartSearch = "Start Search";

// Short labels of the kinds of symmetry element, in the order of the button table.
struct Kind {
    const char* symbol;
    int count;
};
constexpr Kind kKinds[] = {{"C2'", 6}, {"\u03c3d", 6}, {"C2", 3}, {"C4", 3}, {"\u03c3h", 3},
                           {"S4", 3},  {"C3", 4},       {"i", 1}};
// Grid row and first column of each kind in GBSpeed.
constexpr int kKindRow[] = {0, 1, 2, 2, 3, 3, 4, 4};
constexpr int kKindColumn[] = {0, 0, 0, 3, 0, 3, 0, 4};

const QString kSubscripts = QString::fromUtf8("\u2081\u2082\u2083\u2084\u2085\u2086");

template <class T>
T* named(T* widget, const char* name) {
    widget->setObjectName(name);
    return widget;
}

}  // namespace

SymmetryButton::SymmetryButton(int tag, const QString& label, QWidget* parent)
    : QToolButton(parent), tag_(tag), label_(label) {
    setCheckable(true);
    setFixedSize(46, 30);
    setFlat(true);
}

// An antisymmetry is shown raised and marked with the inverse it produces.
void SymmetryButton::setFlat(bool flat) {
    setAutoRaise(flat);
    setText(flat ? label_ : label_ + QString::fromUtf8("\u207b\u00b9"));
}

TabSym::TabSym(CubeList& list, Events& events, QWidget* parent) : QWidget(parent), list_(list), events_(events) {
    setObjectName("TabSym");
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(buildGroupPanel(), 1);
    layout->addWidget(buildOptionsPanel(), 0);
    connectControls();
    showSymmetryOrAntisymmetry();
}

TabSym::~TabSym() {
    // The search's cubes and end go to this page; it waits for the worker to stop.
    if (search_) search_->requestStop();
    search_.reset();
}

void TabSym::buildButtons(QGroupBox* box) {
    auto* grid = new QGridLayout(box);
    grid->setSpacing(3);
    std::size_t next = 0;
    for (std::size_t kind = 0; kind < std::size(kKinds); ++kind) {
        for (int i = 0; i < kKinds[kind].count; ++i, ++next) {
            const auto& def = kSymmetryButtons[next];
            QString label = QString::fromUtf8(kKinds[kind].symbol);
            if (kKinds[kind].count > 1) label += kSubscripts[i];
            auto* b = new SymmetryButton(def.tag, label, box);
            b->setObjectName(QString::fromUtf8(def.name.data(), int(def.name.size())));
            b->setToolTip(QString::fromUtf8(def.hint.data(), int(def.hint.size())));
            b->setContextMenuPolicy(Qt::CustomContextMenu);
            grid->addWidget(b, kKindRow[kind], kKindColumn[kind] + i);
            buttons_.push_back(b);
        }
    }
    selfInverse_ = named(new QCheckBox(tr("Self-inverse (the cube equals its inverse)"), box), "CSelfInverse");
    grid->addWidget(selfInverse_, 5, 0, 1, 5);
    auto* clear = named(new QPushButton(tr("Clear"), box), "BClearSym");
    connect(clear, &QPushButton::clicked, this, [this] {
        clearButtons();
        clearGroupChoice();
        recomputeGroup();
    });
    grid->addWidget(clear, 5, 5);
}

QWidget* TabSym::buildGroupPanel() {
    auto* panel = new QWidget(this);
    auto* v = new QVBoxLayout(panel);
    v->setContentsMargins(0, 0, 0, 0);

    auto* mode = new QHBoxLayout;
    rbSym_ = named(new QRadioButton(tr("Symmetries"), panel), "RBSym");
    rbASym_ = named(new QRadioButton(tr("Antisymmetries"), panel), "RBASym");
    rbSym_->setChecked(true);
    mode->addWidget(rbSym_);
    mode->addWidget(rbASym_);
    mode->addStretch();
    v->addLayout(mode);

    symmetries_ = named(new QComboBox(panel), "CbSymmetries");
    symmetries_->setItemDelegate(new GroupItemDelegate(symmetries_));
    symmetries_->setIconSize(QSize(24, 24));
    const auto& items = pointGroupItems();
    for (std::size_t row = 0; row < items.size(); ++row)
        symmetries_->addItem(groupPicture(int(row)), QString::fromUtf8(items[row].text.data(), int(items[row].text.size())));
    symmetries_->setCurrentIndex(-1);
    symmetries_->setPlaceholderText(tr("Choose a point group"));
    symmetries_->setMaxVisibleItems(12);
    v->addWidget(symmetries_);

    auto* facts = new QHBoxLayout;
    facts->addWidget(new QLabel(tr("Order:"), panel));
    order_ = named(new QLabel(panel), "LSymN");
    facts->addWidget(order_);
    facts->addSpacing(16);
    facts->addWidget(new QLabel(tr("Cubes with this symmetry:"), panel));
    size_ = named(new QLabel(panel), "LSymSize");
    facts->addWidget(size_);
    facts->addStretch();
    v->addLayout(facts);

    speed_ = named(new QGroupBox(tr("Symmetry Elements"), panel), "GBSpeed");
    buildButtons(speed_);
    v->addWidget(speed_);

    antiSym_ = named(new QGroupBox(tr("Subgroup of Index 2"), panel), "GBAntiSym");
    auto* anti = new QVBoxLayout(antiSym_);
    subgroups_ = named(new QComboBox(antiSym_), "CBASy");
    subgroups_->setItemDelegate(new GroupItemDelegate(subgroups_));
    subgroups_->setIconSize(QSize(24, 24));
    anti->addWidget(subgroups_);
    v->addWidget(antiSym_);
    memo_ = named(new QPlainTextEdit(panel), "MemoAntisym");
    memo_->setReadOnly(true);
    memo_->setPlainText(
        tr("Antisymmetry search: choose a point group G in the first list and a subgroup H of G in the "
           "second. The search finds the cubes c for which every element of H is a symmetry of c "
           "(S c S\u207b\u00b9 = c) and every other element of G turns c into its inverse "
           "(S c S\u207b\u00b9 = c\u207b\u00b9)."));
    memo_->setMaximumHeight(110);
    v->addWidget(memo_);
    v->addStretch();

    popup_ = named(new QMenu(this), "ApplySymPopUp");
    named(popup_->addAction(tr("Use as &Antisymmetry")), "MIUseAsAntiSymmetry");
    named(popup_->addAction(tr("A&pply Symmetry to Selected Cubes")), "MIApplySymToSel");
    return panel;
}

QWidget* TabSym::buildOptionsPanel() {
    auto* panel = new QWidget(this);
    auto* v = new QVBoxLayout(panel);
    v->setContentsMargins(0, 0, 0, 0);

    auto* permutation = named(new QGroupBox(tr("Cubies"), panel), "GBPermutation");
    auto* pv = new QVBoxLayout(permutation);
    const char* names[] = {"RBAll", "RBEdgesE", "RBCornersE", "RBEdgesO", "RBCornersO"};
    const QString captions[] = {tr("All cubies"), tr("Only edges move"), tr("Only corners move"),
                                tr("Edges only (corners ignored)"), tr("Corners only (edges ignored)")};
    for (int i = 0; i < 5; ++i) {
        pieces_[i] = named(new QRadioButton(captions[i], permutation), names[i]);
        pv->addWidget(pieces_[i]);
    }
    pieces_[0]->setChecked(true);
    v->addWidget(permutation);

    auto* symmetry = named(new QGroupBox(tr("Symmetry of the Cubes"), panel), "GBSymmetry");
    auto* sv = new QVBoxLayout(symmetry);
    exact_ = named(new QRadioButton(tr("Exactly the chosen symmetry"), symmetry), "RBExact");
    higher_ = named(new QRadioButton(tr("Higher symmetry allowed"), symmetry), "RBHigher");
    exact_->setChecked(true);
    sv->addWidget(exact_);
    sv->addWidget(higher_);
    v->addWidget(symmetry);

    auto* colours = named(new QGroupBox(tr("Colors per Face"), panel), "GBNumCol");
    auto* cv = new QHBoxLayout(colours);
    for (int n = 0; n < 6; ++n) {
        colourCounts_[n] = new QCheckBox(QString::number(n + 1), colours);
        colourCounts_[n]->setObjectName(QString("CBn%1").arg(n + 1));
        colourCounts_[n]->setChecked(n < 2);
        cv->addWidget(colourCounts_[n]);
    }
    v->addWidget(colours);

    isomorph_ = named(new QCheckBox(tr("Allow isomorphic cubes"), panel), "CBIsomorph");
    continuous_ = named(new QCheckBox(tr("Continuous edge and corner colors"), panel), "CBContinuous");
    noSelfInverse_ = named(new QCheckBox(tr("No self-inverse cubes"), panel), "CBSelfInverse");
    noSelfInverse_->setEnabled(false);  // enabled by RBHigher
    findGenerators_ = named(new QCheckBox(tr("Find generators"), panel), "SymFindGenerators");
    for (QCheckBox* box : {isomorph_, continuous_, noSelfInverse_, findGenerators_}) v->addWidget(box);
    v->addStretch();
    run_ = named(new QPushButton(tr(kStartSearch), panel), "BRunSym");
    v->addWidget(run_);
    return panel;
}

void TabSym::connectControls() {
    for (SymmetryButton* b : buttons_) {
        connect(b, &QToolButton::clicked, this, [this, b] { symmetryButtonClicked(b); });
        connect(b, &QWidget::customContextMenuRequested, this,
                [this, b](const QPoint& at) { openPopup(b, b->mapToGlobal(at)); });
    }
    connect(symmetries_, QOverload<int>::of(&QComboBox::activated), this, [this] { symmetriesChanged(true); });
    connect(subgroups_, QOverload<int>::of(&QComboBox::activated), this, [this] { subgroupChanged(); });
    connect(rbSym_, &QRadioButton::clicked, this, &TabSym::showSymmetryOrAntisymmetry);
    connect(rbASym_, &QRadioButton::clicked, this, &TabSym::showSymmetryOrAntisymmetry);
    connect(selfInverse_, &QCheckBox::clicked, this, &TabSym::selfInverseClicked);
    for (QRadioButton* ignoring : {pieces_[3], pieces_[4]})
        connect(ignoring, &QRadioButton::clicked, this, [this] { isomorph_->setChecked(true); });
    connect(isomorph_, &QCheckBox::clicked, this, [this] {
        if (pieces_[3]->isChecked() || pieces_[4]->isChecked()) isomorph_->setChecked(true);
    });
    connect(higher_, &QRadioButton::clicked, this, [this] { noSelfInverse_->setEnabled(true); });
    connect(popup_->findChild<QAction*>("MIUseAsAntiSymmetry"), &QAction::triggered, this, &TabSym::useAsAntisymmetry);
    connect(popup_->findChild<QAction*>("MIApplySymToSel"), &QAction::triggered, this,
            &TabSym::applySymmetryToSelection);
    connect(run_, &QPushButton::clicked, this, &TabSym::runClicked);
}

SymmetryButton* TabSym::button(int tag) const {
    for (SymmetryButton* b : buttons_)
        if (b->tag() == tag) return b;
    return nullptr;
}

void TabSym::openPopup(SymmetryButton* button, const QPoint& globalPos) {
    popupTag_ = button->tag();
    popup_->findChild<QAction*>("MIApplySymToSel")->setEnabled(list_.anchor >= 0);
    popup_->popup(globalPos);
}

}  // namespace tx::ui
