#include "workspace/list_undo.hpp"

#include <algorithm>

#include "workspace/cube_list.hpp"

namespace tx {

namespace {

std::shared_ptr<Entry> keptCopy(const Entry& e) {
    std::shared_ptr<Entry> copy = e.copyData();
    copy->optimalLog = e.optimalLog;  // the record of a long optimal search is work too
    return copy;
}

std::vector<std::pair<int, std::shared_ptr<Entry>>> selectedCopies(const CubeList& list) {
    std::vector<std::pair<int, std::shared_ptr<Entry>>> copies;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const Entry& e = *list.entries()[i];
        if (e.selected) copies.emplace_back(static_cast<int>(i), keptCopy(e));
    }
    return copies;
}

}  // namespace

void RemovalUndo::remember(const CubeList& list, const std::string& what) {
    removed_ = selectedCopies(list);
    what_ = what;
    wasModified_ = list.modified;
}

void RemovalUndo::rememberEntry(const CubeList& list, int index, const std::string& what) {
    removed_.clear();
    removed_.emplace_back(index, keptCopy(list.at(index)));
    what_ = what;
    wasModified_ = list.modified;
}

bool RemovalUndo::removeEntry(CubeList& list, int index) {
    if (index < 0 || index >= static_cast<int>(list.size())) return false;
    rememberEntry(list, index, "Remove");
    list.removeEntry(index);
    return true;
}

bool RemovalUndo::deleteSelected(CubeList& list) {
    if (!list.hasSelection()) return false;
    remember(list, "Delete");
    list.deleteSelected();
    return true;
}

bool RemovalUndo::clear(CubeList& list, bool fromUser) {
    if (list.empty()) return list.clear(fromUser);
    // The selection is what Clear would remove; keep the old record if Clear is declined.
    auto previous = std::move(removed_);
    const std::string previousWhat = what_;
    const bool previousModified = wasModified_;
    const std::vector<int> selection = list.selectedIndices();
    list.selectAll();
    remember(list, "Clear");
    list.clearSelection();
    for (int i : selection) list.at(i).selected = true;
    if (list.clear(fromUser)) return true;
    removed_ = std::move(previous);
    what_ = previousWhat;
    wasModified_ = previousModified;
    return false;
}

int RemovalUndo::restore(CubeList& list) {
    if (removed_.empty()) return 0;
    const bool wasEmpty = list.empty();
    list.clearSelection();
    for (auto& [place, e] : removed_) e->selected = true;
    const int n = static_cast<int>(removed_.size());
    list.reinsertEntries(std::move(removed_));
    removed_.clear();
    // A cleared list that comes back whole is as it was, saved or not.
    list.modified = wasEmpty ? wasModified_ : true;
    list.showCaption();
    return n;
}

void RemovalUndo::forget() {
    removed_.clear();
    what_.clear();
}

// ---------------------------------------------------------------- the list's side

void CubeList::reinsertEntries(std::vector<std::pair<int, std::shared_ptr<Entry>>> placed) {
    std::sort(placed.begin(), placed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& [place, e] : placed) {
        // Entries added since the removal stay; a place beyond the end becomes the end.
        const auto at = static_cast<std::ptrdiff_t>(std::min<std::size_t>(static_cast<std::size_t>(place), entries_.size()));
        e->removed = false;
        e->searchRunning = false;
        entries_.insert(entries_.begin() + at, std::move(e));
        iso_.insert(iso_.begin() + at, IsoCache{});
    }
    anchor = -1;
    selectionItemsEnabled = hasSelection();
    if (hooks.enableSelectionItems) hooks.enableSelectionItems(selectionItemsEnabled);
    if (hooks.sizeChanged) hooks.sizeChanged();
    repaint();
}

}  // namespace tx
