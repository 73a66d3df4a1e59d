// The symmetry page's search: starting and stopping the worker and putting its cubes into
// the list.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include "searches/sy_search.hpp"
#include "ui/page_search.hpp"
#include "ui/tab_sym.hpp"
#include "workspace/cube_list.hpp"

namespace tx::ui {

namespace {
constexpr const char* kStartSearch = "Start Search";
constexpr const char* kStopSearch = "Stop Search";
}  // namespace

bool TabSym::searchRunning() const { return search_ != nullptr; }

SymSearchOptions TabSym::searchOptions() const {
    SymSearchOptions o;
    o.group = {symmetrySet_, antiSymmetryMask_};
    constexpr SymPieces kModes[] = {SymPieces::All, SymPieces::EdgesMove, SymPieces::CornersMove, SymPieces::EdgesOnly,
                                    SymPieces::CornersOnly};
    for (int i = 0; i < 5; ++i)
        if (pieces_[i]->isChecked()) o.pieces = kModes[i];
    o.exact = exact_->isChecked();
    o.allowIsomorphs = isomorph_->isChecked();
    o.continuous = continuous_->isChecked();
    o.rejectSelfInverse = noSelfInverse_->isChecked();
    o.isoIncludesInverse = list_.options.isoInvInclude;
    o.colourCounts = 0;
    for (int n = 0; n < 6; ++n)
        if (colourCounts_[n]->isChecked()) o.colourCounts |= 1u << (n + 1);
    return o;
}

void TabSym::setStartEnabled(bool enabled) {
    startEnabled_ = enabled;
    run_->setEnabled(enabled || searchRunning());
}

// BRunSymClick.
void TabSym::runClicked() {
    if (run_->text() != tr(kStartSearch)) {
        if (search_) search_->requestStop();
        return;
    }
    const bool ready = rbSym_->isChecked()
                           ? symmetries_->currentIndex() >= 0 || symmetrySet_ != 1 || antiSymmetryMask_ != 0
                           : subgroups_->currentIndex() >= 0;
    if (!ready) return;
    if (searchOptions().colourCounts == 0) colourCounts_[0]->setChecked(true);
    search_ = std::make_unique<SySearch>(searchOptions());
    cubieSubset_ = search_->cubieSubset();
    setRunningControls(true);
    startPageSearch(*search_, events_, this, &TabSym::addFound, &TabSym::searchEnded);
    emit searchRunningChanged(true);
}

void TabSym::searchEnded() {
    search_.reset();
    setRunningControls(false);
    emit searchRunningChanged(false);
}

// Cubes go in without the list's own isomorphism test: the search has made its own.
void TabSym::addFound(const FaceletCube& cube) {
    const bool isoCheck = list_.isoCheck;
    list_.isoCheck = false;
    AddRequest how;
    how.showSolver = false;
    how.centersCount = false;
    how.cubieSubset = cubieSubset_;
    how.interactive = false;
    how.startSearch = findGenerators_->isChecked();
    list_.addCube(cube, how);
    list_.isoCheck = isoCheck;
}

void TabSym::setRunningControls(bool running) {
    run_->setText(tr(running ? kStopSearch : kStartSearch));
    run_->setEnabled(running || startEnabled_);
    continuous_->setEnabled(!running);
    symmetries_->setEnabled(!running);
    speed_->setEnabled(!running);
}

}  // namespace tx::ui
