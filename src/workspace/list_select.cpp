// Selection by clicks on the entries' pictures, and taking entries out of the list.
#include <algorithm>
#include <unordered_set>

#include "solver/drivers.hpp"
#include "workspace/cube_list.hpp"

namespace tx {

// ---------------------------------------------------------------- selection

void CubeList::clearSelection() {
    for (auto& e : entries_) e->selected = false;
}

void CubeList::selectAll() {
    for (auto& e : entries_) e->selected = true;
}

bool CubeList::hasSelection() const {
    return std::any_of(entries_.begin(), entries_.end(), [](const auto& e) { return e->selected; });
}

std::vector<int> CubeList::selectedIndices() const {
    std::vector<int> out;
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i]->selected) out.push_back(static_cast<int>(i));
    return out;
}

void CubeList::selectRange(int from, int to) {
    if (from > to) std::swap(from, to);
    from = std::max(from, 0);
    to = std::min(to, static_cast<int>(entries_.size()) - 1);
    for (int i = from; i <= to; ++i) entries_[i]->selected = true;
}

void CubeList::click(int i, unsigned modifiers) {
    auto enableItems = [this](bool on) {
        selectionItemsEnabled = on;
        if (hooks.enableSelectionItems) hooks.enableSelectionItems(on);
    };
    if (i < 0 || i >= static_cast<int>(entries_.size())) {
        clearSelection();
        anchor = -1;
        enableItems(false);
        repaint();
        return;
    }
    enableItems(true);
    if (anchor >= static_cast<int>(entries_.size())) anchor = -1;
    Entry& e = *entries_[i];
    const bool ctrl = (modifiers & kCtrl) != 0, shift = (modifiers & kShift) != 0;
    if (anchor < 0) {
        e.selected = !e.selected;
        if (e.selected) anchor = i;
    } else if (ctrl && shift) {
        selectRange(anchor, i);
    } else if (ctrl) {
        e.selected = !e.selected;
        anchor = e.selected ? i : -1;
    } else if (shift) {
        clearSelection();
        selectRange(anchor, i);
        anchor = i;
    } else {
        clearSelection();
        e.selected = true;
        anchor = i;
    }
    repaint();
}

// ---------------------------------------------------------------- removing

void CubeList::removeEntries(const std::vector<std::shared_ptr<Entry>>& doomed, bool pumpInSteps) {
    if (doomed.empty()) return;
    // Stop first and let the threads end while the entries still exist, so their last
    // messages are handled; a web client holding an entry sees it marked as removed.
    for (const auto& e : doomed) {
        e->selected = false;  // a re-entered delete from the pump passes these over
        stopEntrySearch(*e);
        e->removed = true;
    }
    for (int k = 0; k < 1001; ++k) pump();
    std::unordered_set<const Entry*> gone;
    int freed = 0;
    for (auto it = doomed.rbegin(); it != doomed.rend(); ++it) {
        Entry& e = **it;
        e.twoPhase.reset();  // the drivers ask their threads to stop and wait for them
        e.optimal.reset();
        optimalRunning_.erase(&e);
        gone.insert(&e);
        if (pumpInSteps && ++freed % 1000 == 0) {
            repaint();
            pump();
        }
    }
    // Entries and their keys move up together.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (gone.count(entries_[i].get())) continue;
        if (kept != i) {
            entries_[kept] = std::move(entries_[i]);
            iso_[kept] = iso_[i];
        }
        ++kept;
    }
    entries_.resize(kept);
    iso_.resize(kept);
}

void CubeList::afterRemoval() {
    if (anchor >= static_cast<int>(entries_.size())) anchor = -1;
    if (entries_.empty()) {
        modified = false;
        showCaption();
    } else {
        modified = true;
    }
    if (hooks.sizeChanged) hooks.sizeChanged();
    repaint();
}

void CubeList::removeEntry(int index) {
    const std::shared_ptr<Entry> e = entries_.at(static_cast<std::size_t>(index));
    removeEntries({e}, false);
    if (anchor == index) anchor = -1;
    else if (anchor > index) --anchor;
    afterRemoval();
    selectionItemsEnabled = hasSelection();
    if (hooks.enableSelectionItems) hooks.enableSelectionItems(selectionItemsEnabled);
}

void CubeList::remove(const std::vector<std::shared_ptr<Entry>>& entries) {
    std::vector<std::shared_ptr<Entry>> doomed;
    for (const auto& e : entries)
        if (!e->removed) doomed.push_back(e);
    if (doomed.empty()) return;
    const Entry* anchored = anchor >= 0 && anchor < static_cast<int>(entries_.size()) ? entries_[anchor].get() : nullptr;
    removeEntries(doomed, true);
    anchor = -1;
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].get() == anchored) anchor = static_cast<int>(i);
    afterRemoval();
    selectionItemsEnabled = hasSelection();
    if (hooks.enableSelectionItems) hooks.enableSelectionItems(selectionItemsEnabled);
}

void CubeList::deleteSelected() {
    std::vector<std::shared_ptr<Entry>> doomed;
    for (const auto& e : entries_)
        if (e->selected) doomed.push_back(e);
    removeEntries(doomed, true);
    anchor = -1;
    afterRemoval();
    selectionItemsEnabled = false;
    if (hooks.enableSelectionItems) hooks.enableSelectionItems(false);
}

bool CubeList::clear(bool fromUser) {
    if (fromUser && modified &&
        !prompts_->yes("All changes to the Main Window will be discarded. Proceed?", kManeuverWindow))
        return false;
    selectAll();
    deleteSelected();
    return true;
}

void CubeList::shutdown() {
    for (const auto& e : entries_) {
        stopEntrySearch(*e);
        e->removed = true;
    }
    for (const auto& e : entries_) {
        e->twoPhase.reset();
        e->optimal.reset();
    }
    entries_.clear();
    iso_.clear();
    optimalRunning_.clear();
    anchor = -1;
}

}  // namespace tx
