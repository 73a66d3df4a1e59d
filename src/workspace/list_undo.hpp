#pragma once
// Taking back the last removal from the cube list: Delete of the selected entries, Remove
// Cube and Clear keep a copy of what they take out (cube, texts, name, flags, lengths, optimal log) with the
// places the entries stood at, so that one key cannot lose work. Searches are not kept: a
// restored entry is idle and its search can be started again.
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace tx {

class CubeList;
struct Entry;

class RemovalUndo {
public:
    // Delete of the selection, remembered; false when nothing was selected.
    bool deleteSelected(CubeList& list);
    // Removal of the single entry `index` (the cube menu's Remove Cube), remembered.
    bool removeEntry(CubeList& list, int index);
    // Clear (with its question when fromUser); remembered unless declined or already empty.
    bool clear(CubeList& list, bool fromUser);

    bool available() const { return !removed_.empty(); }
    std::size_t count() const { return removed_.size(); }
    // "Delete", "Remove" or "Clear": what Undo takes back.
    const std::string& what() const { return what_; }
    // Puts the removed entries back at their places (selected, the others deselected) and
    // answers how many came back; the record is used up.
    int restore(CubeList& list);
    // The list was replaced (a workspace loaded): the old entries no longer have a place.
    void forget();

private:
    void remember(const CubeList& list, const std::string& what);
    void rememberEntry(const CubeList& list, int index, const std::string& what);

    std::vector<std::pair<int, std::shared_ptr<Entry>>> removed_;  // ascending places
    std::string what_;
    bool wasModified_ = false;
};

}  // namespace tx
