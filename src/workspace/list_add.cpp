// Putting cubes into the list: the add operation with its isomorphism test, the facelet
// editor's add buttons, random cubes, scrambles, inverses and the expansion of the first cube.
#include <algorithm>
#include <cstring>

#include "cube/cube_input.hpp"
#include "cube/facelet_symmetry.hpp"
#include "cube/notation.hpp"
#include "cube/random.hpp"
#include "workspace/cube_list.hpp"
#include "workspace/facelet_editor.hpp"

namespace tx {

// ---------------------------------------------------------------- isomorphism

// The smallest of the 48 images. The images form the orbit of the cube under the symmetry
// group, so two cubes are isomorphic exactly when their smallest images agree; comparing
// keys replaces 48 comparisons per entry by one.
IsoKey isoKey(const FaceletCube& cube) {
    IsoKey best;
    bool first = true;
    forEachSymmetricImage(cube, [&](int, const FaceletCube& image) {
        IsoKey k;
        k.bytes[0] = image.centersCount ? 1 : 0;
        std::memcpy(&k.bytes[1], image.f.data(), kFacelets);
        if (image.centersCount) std::memcpy(&k.bytes[1 + kFacelets], image.centerOri.data(), 6);
        if (first || k < best) best = k;
        first = false;
        return false;
    });
    return best;
}

std::uint64_t isoKeyHash(const IsoKey& key) {
    std::uint64_t h = 1469598103934665603ull;  // FNV-1a
    for (std::uint8_t b : key.bytes) h = (h ^ b) * 1099511628211ull;
    return h;
}

const CubeList::IsoCache& CubeList::isoCacheOf(std::size_t i, bool needInverse) {
    const Entry& e = *entries_[i];
    IsoCache& c = iso_[i];
    // An entry's cube may change under the cache (a search writes its facelets back, the
    // window edits it): the keys are trusted only for the cube they were made from.
    if (!c.valid || c.f != e.cube.f || c.centerOri != e.cube.centerOri || c.centersCount != e.cube.centersCount) {
        c.valid = true;
        c.f = e.cube.f;
        c.centerOri = e.cube.centerOri;
        c.centersCount = e.cube.centersCount;
        c.key = isoKey(e.cube);
        c.hash = isoKeyHash(c.key);
        c.inverseState = 0;
    }
    if (needInverse && c.inverseState == 0) {
        FaceletCube inverse;
        if (inverseCube(e.cube, inverse)) {
            c.inverseKey = isoKey(inverse);
            c.inverseHash = isoKeyHash(c.inverseKey);
            c.inverseState = 2;
        } else {
            c.inverseState = 1;
        }
    }
    return c;
}

bool CubeList::matches(const IsoKey& key, std::uint64_t hash, std::size_t i) {
    const IsoCache& c = isoCacheOf(i, options.isoInvInclude);
    if (c.hash == hash && c.key == key) return true;
    return options.isoInvInclude && c.inverseState == 2 && c.inverseHash == hash && c.inverseKey == key;
}

int CubeList::findIsomorphicKey(const IsoKey& key, bool pumpWhileTesting) {
    const std::uint64_t hash = isoKeyHash(key);
    // Indexes are re-checked each step: pumping may let the window change the list.
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (matches(key, hash, i)) return static_cast<int>(i);
        if (pumpWhileTesting && (i + 1) % 1000 == 0) pump();
    }
    return -1;
}

int CubeList::findIsomorphic(const FaceletCube& cube, bool pumpWhileTesting) {
    return findIsomorphicKey(isoKey(cube), pumpWhileTesting);
}

void CubeList::pushEntry(std::shared_ptr<Entry> e, const IsoKey* key) {
    IsoCache c;
    if (key) {  // the key the isomorphism test just made: no need to make it again
        c.valid = true;
        c.f = e->cube.f;
        c.centerOri = e->cube.centerOri;
        c.centersCount = e->cube.centersCount;
        c.key = *key;
        c.hash = isoKeyHash(*key);
    }
    entries_.push_back(std::move(e));
    iso_.push_back(c);
}

// ---------------------------------------------------------------- adding

std::shared_ptr<Entry> CubeList::addCube(const FaceletCube& cube, const AddRequest& how) {
    Entry source;
    source.cube = cube;
    return addCube(source, how);
}

std::shared_ptr<Entry> CubeList::addCube(const Entry& source, const AddRequest& how) {
    FaceletCube cube = source.cube;
    cube.centersCount = how.centersCount;
    IsoKey key;
    if (isoCheck) {
        key = isoKey(cube);
        if (how.interactive) {
            const int i = findIsomorphicKey(key, false);
            if (i >= 0 && !prompts_->yes("Cube " + std::to_string(i + 1) +
                                             " is isomorphic to the Cube you want to add. Proceed?",
                                         kManeuverWindow))
                return nullptr;
        } else if (findIsomorphicKey(key, true) >= 0) {
            return nullptr;
        }
    }
    std::shared_ptr<Entry> e = source.copyData();
    e->cube = cube;
    e->showSolver = how.showSolver;
    e->cubieSubset = how.cubieSubset;
    e->selected = false;
    e->searchRunning = false;
    pushEntry(e, isoCheck ? &key : nullptr);
    modified = true;
    if (hooks.sizeChanged) hooks.sizeChanged();
    repaint();
    if (how.startSearch) startTwoPhase(e, true);
    return e;
}

EditorAdd CubeList::addFromEditor(FaceletEditor& editor, bool solve) {
    FaceletCube& cube = editor.cube();
    const std::string caption = kFaceletEditorCaption;
    if (!cube.checkAll()) {
        if (hooks.repaintEditor) hooks.repaintEditor();
        prompts_->message("Some inconsistent facelet colors have been removed. Please verify the configuration!",
                          caption);
        return EditorAdd::Inconsistent;
    }
    if (cube.hasPartialPiece()) {
        prompts_->message("The definition of the facelet colors is incomplete!", caption);
        return EditorAdd::Incomplete;
    }
    if (!cube.isComplete()) return EditorAdd::HandedOver;
    // The fix has made everything else right; only the centres can still be wrong, after
    // facelets were painted over a cube whose centres the dialog had accepted.
    if (options.fixCenterFacelets && cubeProblem(cube.withCenters(cube.centerOri))) {
        prompts_->message(kCenterParityMessage, caption, Icon::Warning);
        return EditorAdd::Inconsistent;
    }
    AddRequest how;
    how.showSolver = solve;
    how.centersCount = options.fixCenterFacelets;
    how.interactive = true;
    how.startSearch = true;
    return addCube(cube, how) ? EditorAdd::Added : EditorAdd::Declined;
}

namespace {

// A whole decimal number with optional sign and surrounding blanks; values beyond the
// long long range saturate.
bool parseCount(const std::string& text, long long& value) {
    std::size_t i = 0, end = text.size();
    while (i < end && static_cast<unsigned char>(text[i]) <= ' ') ++i;
    while (end > i && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
    bool negative = false;
    if (i < end && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == end) return false;
    value = 0;
    for (; i < end; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        if (value < 1000000000000LL) value = value * 10 + (text[i] - '0');
    }
    if (negative) value = -value;
    return true;
}

}  // namespace

int CubeList::addRandomCubes(FaceletEditor& editor, MersenneTwister& rng) {
    constexpr long long kLimit = 100000;
    const auto text = prompts_->input("Add Random Cubes", "Number of Random Cubes to add: ", "10");
    if (!text) return 0;
    long long n = 0;
    if (!parseCount(*text, n)) {
        prompts_->message("No valid number.");
        n = 0;
    }
    if (n > kLimit) {
        prompts_->message("Number too big. Only 100000 Random Cubes will be added.");
        n = kLimit;
    }
    const bool savedIso = isoCheck;
    isoCheck = false;
    AddRequest how;
    how.showSolver = true;
    how.centersCount = options.fixCenterFacelets;
    int added = 0;
    cancelRequested = false;
    if (n > 0) showCaption("Adding random cubes, press ESC to cancel... ");
    for (long long i = 0; i < n && !cancelRequested; ++i) {
        editor.randomize(rng);
        if (addCube(editor.cube(), how)) ++added;
        if ((i + 1) % 1000 == 0) pump();
    }
    if (n > 0) showCaption();
    isoCheck = savedIso;
    if (hooks.repaintEditor) hooks.repaintEditor();
    return added;
}

void CubeList::wcaScramble(FaceletEditor& editor, MersenneTwister& rng) {
    // The usual competition colours for this session only; nothing is written to cube.ini.
    static constexpr std::array<std::uint32_t, 6> kScrambleColors = {0xFFFFFF, 0x0000FF, 0x008000,
                                                                     0x00FFFF, 0x0080FF, 0xFF0000};
    for (int c = 0; c < 6; ++c) editor.scheme().colors[c] = kScrambleColors[c];
    if (hooks.repaintEditor) hooks.repaintEditor();
    context_.stopAt = 21;  // not written to cube.ini either
    clear(true);
    const bool savedIso = isoCheck;
    isoCheck = false;
    AddRequest how;
    how.showSolver = false;
    how.centersCount = false;
    how.startSearch = true;
    for (int i = 0; i < 5; ++i) {
        editor.randomize(rng);
        addCube(editor.cube(), how);
    }
    isoCheck = savedIso;
    if (hooks.repaintEditor) hooks.repaintEditor();
}

int CubeList::addAllInverses() {
    showCaption("Adding inverse cubes, press ESC to cancel... ");
    cancelRequested = false;
    const std::size_t count = entries_.size();
    int added = 0;
    for (std::size_t i = 0; i < count && i < entries_.size(); ++i) {
        if (cancelRequested) break;
        const std::shared_ptr<Entry> src = entries_[i];
        FaceletCube inverse;
        // A cube with unknown pieces has no inverse; it is passed over.
        if (inverseCube(src->cube, inverse)) {
            std::shared_ptr<Entry> data = src->copyData();
            data->cube = inverse;
            data->solverText = generatorText(*src);
            data->optimalText = optimalGeneratorText(*src);
            data->useOptimal = data->hasOptimalText();
            AddRequest how;
            how.showSolver = src->showSolver;
            how.centersCount = src->cube.centersCount;
            how.cubieSubset = src->cubieSubset;
            if (addCube(*data, how)) ++added;
        }
        if ((i + 1) % 1000 == 0) pump();
    }
    showCaption();
    return added;
}

int CubeList::expandFirstCube() {
    if (entries_.empty()) return 0;
    const std::shared_ptr<Entry> first = entries_.front();
    // The images are made from a copy, each carrying its own turned maneuvers, so every
    // image's texts solve that image; the first entry itself is not touched.
    std::shared_ptr<Entry> image = first->copyData();
    AddRequest how;
    how.showSolver = first->showSolver;
    how.centersCount = first->cube.centersCount;
    how.cubieSubset = first->cubieSubset;
    const bool savedIso = isoCheck;
    isoCheck = false;
    int added = 0;
    for (int a = 0; a < 3; ++a) {
        for (int f = 0; f < 2; ++f) {
            for (int u = 0; u < 4; ++u) {
                for (int r = 0; r < 2; ++r) {
                    if (addCube(*image, how)) ++added;
                    applySymmetry(*image, 3);
                }
                applySymmetry(*image, 2);
            }
            applySymmetry(*image, 1);
        }
        applySymmetry(*image, 0);
    }
    isoCheck = savedIso;
    return added;
}

}  // namespace tx
