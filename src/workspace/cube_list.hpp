#pragma once
// The main window's list of cubes without the window: entries, selection, the list operations
// (add with the isomorphism test, remove, clear, rotate, reflect, invert, sort, arrange,
// symmetry names, expansion, inverses), the per-row controls, the entry searches and the
// clipboard and quick-save texts. The list knows entries by index only; where they are drawn
// and what was clicked is the maneuver window's. The window plugs in through Hooks and
// answers questions through Prompts; searches report through the Events queue on the main
// thread.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "cube/facelet_cube.hpp"
#include "platform/events.hpp"
#include "platform/prompts.hpp"
#include "solver/search_context.hpp"
#include "workspace/entry.hpp"
#include "workspace/entry_search.hpp"

namespace tx {

class FaceletEditor;
class MersenneTwister;

inline constexpr const char* kProductName = "Tesserix 5.00s";
inline constexpr const char* kUntitled = "untitled.txt";
inline constexpr const char* kManeuverWindow = "Maneuver Window";
inline constexpr const char* kQuickSaveFile = "ctrlFsave.txt";

inline constexpr int kMaxStartedSearches = 500;

// How a cube is put into the list.
struct AddRequest {
    bool showSolver = true;
    bool centersCount = false;
    int cubieSubset = 0;
    bool interactive = false;  // ask on isomorphism instead of skipping silently
    bool startSearch = false;  // start a two-phase search at once
};

// The facelet editor's cube counts its centres, and their orientations do not fit the
// permutation of its corners: no sequence of moves reaches it.
inline constexpr const char* kCenterParityMessage =
    "Center Parity Error. The orientation of one center must be changed by a quarter turn (Options, Edit Centers).";

// HandedOver: a partially defined cube, for the search for such cubes (not added).
enum class EditorAdd { Added, Declined, Inconsistent, Incomplete, HandedOver };

// Canonical form of a cube under the 48 symmetries: equal keys mean isomorphic cubes.
struct IsoKey {
    std::array<std::uint8_t, 61> bytes{};  // centres-count flag, 54 facelets, centre orientations
    bool operator==(const IsoKey&) const = default;
    auto operator<=>(const IsoKey&) const = default;
};
IsoKey isoKey(const FaceletCube& cube);
std::uint64_t isoKeyHash(const IsoKey& key);

// A cube that a search can work on: cubeProblem (cube/cube_input.hpp) finds nothing wrong.
bool solvableCube(const FaceletCube& cube);

// The generator text of an entry (inverse of solverText) and the optimal generator text.
std::string generatorText(const Entry& e);
std::string optimalGeneratorText(const Entry& e);

class CubeList {
public:
    // What the window supplies; every hook may be left empty.
    struct Hooks {
        std::function<void()> repaint;
        std::function<void(const std::string&)> setCaption;
        std::function<void()> pump;         // process pending window messages once
        std::function<void()> sizeChanged;  // entries were added or taken out
        std::function<void(bool)> enableSelectionItems;
        std::function<void()> showEditorPage;
        std::function<void()> repaintEditor;
    };

    struct Options {
        bool ignoreIsoOnLoad = false;    // IgnoreIsoOnLoad
        bool isoInvInclude = false;      // IsoInvInclude
        bool fixCenterFacelets = false;  // FixCenterFacelets
    };

    CubeList(Events& events, Prompts& prompts);
    ~CubeList();
    CubeList(const CubeList&) = delete;
    CubeList& operator=(const CubeList&) = delete;

    // ------------------------------------------------------------------ state
    const std::vector<std::shared_ptr<Entry>>& entries() const { return entries_; }
    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    Entry& at(int index) const { return *entries_.at(static_cast<std::size_t>(index)); }

    int anchor = -1;
    bool modified = false;
    std::string workspaceFile = kUntitled;
    bool isoCheck = true;
    bool cancelRequested = false;  // set by Escape; long operations poll it
    bool selectionItemsEnabled = false;
    Options options;
    Hooks hooks;

    SearchContext& context() { return context_; }
    const SearchContext& context() const { return context_; }
    char metricLetter() const { return context_.metricLetter(); }
    Prompts& prompts() { return *prompts_; }
    Events& events() { return *events_; }

    // The file-name part of workspaceFile, " - ", the product name.
    std::string caption() const;
    void showCaption(const std::string& prefix = "");
    void pump();
    void repaint();

    // ------------------------------------------------------------------ adding
    // Adds a copy of `source` (cube, texts, name, useOptimal, lengths) as the last entry;
    // nullptr when it was not added.
    std::shared_ptr<Entry> addCube(const Entry& source, const AddRequest& how);
    std::shared_ptr<Entry> addCube(const FaceletCube& cube, const AddRequest& how);
    // Index of the first entry isomorphic to cube (IsoInvInclude respected), or -1.
    int findIsomorphic(const FaceletCube& cube, bool pumpWhileTesting = false);

    // ButtonAddSolve (solve) and ButtonAddGen.
    EditorAdd addFromEditor(FaceletEditor& editor, bool solve);
    // AddRandomCubes1: answers the number added; Escape stops it, keeping those added.
    int addRandomCubes(FaceletEditor& editor, MersenneTwister& rng);
    // WCAscramble.
    void wcaScramble(FaceletEditor& editor, MersenneTwister& rng);
    // AddAllInverses: answers the number added.
    int addAllInverses();
    // ExpandFirstCube: answers the number added.
    int expandFirstCube();

    // ------------------------------------------------------------------ selection
    enum Modifier : unsigned { kNone = 0, kShift = 1, kCtrl = 2 };
    // A left click on entry `index` (its picture), or beside every picture (index < 0).
    void click(int index, unsigned modifiers);
    void clearSelection();
    void selectAll();
    bool hasSelection() const;
    std::vector<int> selectedIndices() const;

    // ------------------------------------------------------------------ removing
    void removeEntry(int index);  // RemoveCube1
    // Takes the given entries out (those still in the list), stopping their searches; the
    // selection and anchor of the others stay.
    void remove(const std::vector<std::shared_ptr<Entry>>& entries);
    void deleteSelected();        // DeleteselectedCubes1, the Delete key
    // ClearMainWindow1; asks first when modified and fromUser. False when declined.
    bool clear(bool fromUser);
    // Stops every search and frees every entry without asking (closing the window).
    void shutdown();
    // Puts entries back at the given places, in ascending order (taking back a removal).
    void reinsertEntries(std::vector<std::pair<int, std::shared_ptr<Entry>>> placed);

    // ------------------------------------------------------------------ transforming
    void transformEntry(int index, int symmetry);  // RotURF 0, RotFB 1, rotUD 2, RefRL 3
    bool invertEntry(int index);                   // Invert1
    void arrangeSelected();                        // ArrangeSelected
    void addSymmetryInfoForSelected();             // AddSymmetryInfoforSelected
    void sortByPatternName();
    void sortByManeuverLength();
    void transferToEditor(int index, FaceletEditor& editor);

    // ------------------------------------------------------------------ texts
    std::string solverClipboardText(int index) const;     // CopySolverToClipboard
    std::string generatorClipboardText(int index) const;  // CopyGeneratortoClipboard
    // The maneuver line a row shows.
    std::string rowManeuverText(int index) const;
    // Ctrl+F: writes "ctrlFsave.txt" in folder; false when the list is empty or writing failed.
    bool quickSave(const std::filesystem::path& folder);

    // ------------------------------------------------------------------ menu enabling
    bool clearEnabled() const { return !entries_.empty(); }
    bool copyEnabled(int index) const;

    // ------------------------------------------------------------------ row controls
    void entryButton(int index);  // run/stop
    void toggleShowSolver(int index);
    void setPatternName(int index, const std::string& name);
    // The "optimal" check box was clicked to `checked`; answers the box's state afterwards.
    bool setOptimalBox(int index, bool checked);

    // ------------------------------------------------------------------ searches
    // The start dialog's OK: kind and threshold t (0, 18, 19, 20); answers how many started.
    int startSearchForSelected(bool optimal, int threshold);
    void stopSearchForSelected();
    // Starts the entry's search of the kind useOptimal says, as the entry button does after
    // its questions; false when it did not start.
    bool startEntrySearch(const std::shared_ptr<Entry>& e, bool quiet);
    void stopEntrySearch(Entry& e);

private:
    // The canonical keys of an entry's cube and of its inverse, kept beside the entry.
    struct IsoCache {
        bool valid = false;
        std::array<std::uint8_t, kFacelets> f{};  // the cube the keys were made from
        std::array<std::uint8_t, 6> centerOri{};
        bool centersCount = false;
        IsoKey key;
        std::uint64_t hash = 0;
        int inverseState = 0;  // 0 not computed, 1 none, 2 inverseKey valid
        IsoKey inverseKey;
        std::uint64_t inverseHash = 0;
    };

    const IsoCache& isoCacheOf(std::size_t i, bool needInverse);
    bool matches(const IsoKey& key, std::uint64_t hash, std::size_t i);
    int findIsomorphicKey(const IsoKey& key, bool pumpWhileTesting);
    void pushEntry(std::shared_ptr<Entry> e, const IsoKey* key);
    bool startTwoPhase(const std::shared_ptr<Entry>& e, bool quiet);
    bool startOptimal(const std::shared_ptr<Entry>& e, bool quiet);
    bool refuseSearch(const std::string& whyNot, bool quiet);
    // Pumps until neither driver of the entry is still ending a run; false on time-out.
    bool settle(const std::shared_ptr<Entry>& e);
    bool optimalInFlight(const Entry& e) const { return optimalRunning_.count(&e) != 0; }
    void detachSearches(const std::shared_ptr<Entry>& e);
    // Stops, waits for and frees the searches of the given entries, then takes them out.
    void removeEntries(const std::vector<std::shared_ptr<Entry>>& doomed, bool repaintInSteps);
    void afterRemoval();
    void applySymmetry(Entry& e, int symmetry);
    void sortBy(bool byName);
    void selectRange(int from, int to);

    Events* events_;
    Prompts* prompts_;
    SearchContext context_;
    EntryNotices notices_;  // how the searches of entries reach the list
    std::vector<std::shared_ptr<Entry>> entries_;
    std::vector<IsoCache> iso_;  // iso_[i] belongs to entries_[i]
    std::unordered_set<const Entry*> optimalRunning_;
};

// The two masks of a cube: bit k of symmetry when S_k^-1 C S_k = C, of antisymmetry when it
// equals C^-1 (corners and edges, centres when they count).
struct SymmetryMasks {
    std::uint64_t symmetry = 0;
    std::uint64_t antisymmetry = 0;
};
SymmetryMasks symmetryMasks(const FaceletCube& cube);
// Standard orientation: the symmetry mask and the union of both masks are named groups.
bool standardOrientation(const SymmetryMasks& m);
// The text appended by the symmetry annotation for a cube ("" when no orientation of the 12
// is standard).
std::string symmetryClassText(const FaceletCube& cube);

}  // namespace tx
