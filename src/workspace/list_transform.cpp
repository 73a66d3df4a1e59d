// Turning entries: rotations and the reflection with their maneuvers, inversion, the
// symmetry masks behind arranging and naming, and the test that a cube is a real one.
#include "cube/cube_input.hpp"
#include "cube/facelet_symmetry.hpp"
#include "cube/notation.hpp"
#include "cube/symmetry.hpp"
#include "solver/drivers.hpp"
#include "workspace/cube_list.hpp"

namespace tx {

namespace {

template <std::size_t N>
bool wholePermutation(const std::array<Piece, N>& pieces) {
    std::array<bool, N> seen{};
    for (const Piece& p : pieces) {
        if (p.c >= N || seen[p.c]) return false;
        seen[p.c] = true;
    }
    return true;
}

bool sameCube(const CubieCube& a, const CubieCube& b, bool centres) {
    return a.corners == b.corners && a.edges == b.edges && (!centres || a.centers == b.centers);
}

}  // namespace

bool solvableCube(const FaceletCube& cube) { return !cubeProblem(cube).has_value(); }

// ---------------------------------------------------------------- symmetry masks

SymmetryMasks symmetryMasks(const FaceletCube& cube) {
    SymmetryMasks m;
    const CubieCube c = cube.toCubieCube();
    // Products index pieces by cubie number, so a cube with unknown pieces has no masks.
    if (!wholePermutation(c.corners) || !wholePermutation(c.edges)) return m;
    const CubieCube inverse = c.inverse();
    const auto& st = symmetries();
    for (int k = 0; k < kSymmetries; ++k) {
        const CubieCube t = conjugate(c, st.symInverse[k]);  // S_k^-1 C S_k
        if (sameCube(t, c, cube.centersCount)) m.symmetry |= std::uint64_t{1} << k;
        if (sameCube(t, inverse, cube.centersCount)) m.antisymmetry |= std::uint64_t{1} << k;
    }
    return m;
}

bool standardOrientation(const SymmetryMasks& m) {
    return groupRowOfMask(m.symmetry) >= 0 && groupRowOfMask(m.symmetry | m.antisymmetry) >= 0;
}

std::string symmetryClassText(const FaceletCube& cube) {
    FaceletCube c = cube;
    for (int u = 0; u < 4; ++u) {
        for (int a = 0; a < 3; ++a) {
            const SymmetryMasks m = symmetryMasks(c);
            if (standardOrientation(m)) {
                std::string text(GroupMaskTable[groupRowOfMask(m.symmetry)].name);
                if (m.antisymmetry & 1) {
                    text += "{I}";
                } else if (m.antisymmetry != 0) {
                    text += '{';
                    text += GroupMaskTable[groupRowOfMask(m.symmetry | m.antisymmetry)].name;
                    text += '}';
                }
                return text;
            }
            applyBasicSymmetry(c, 0);
        }
        applyBasicSymmetry(c, 2);
    }
    return {};
}

// ---------------------------------------------------------------- entry operations

void CubeList::applySymmetry(Entry& e, int symmetry) {
    applyBasicSymmetry(e.cube, symmetry);
    e.solverText = transformManeuver(e.solverText, symmetry);  // the marks stay as they are
    if (!e.optimalIsStatus()) e.optimalText = transformManeuver(e.optimalText, symmetry);
}

void CubeList::transformEntry(int index, int symmetry) {
    const std::shared_ptr<Entry> e = entries_.at(static_cast<std::size_t>(index));
    // The drivers hold the old cube and would write it back with their next result.
    detachSearches(e);
    applySymmetry(*e, symmetry);
    modified = true;
    repaint();
}

bool CubeList::invertEntry(int index) {
    const std::shared_ptr<Entry> e = entries_.at(static_cast<std::size_t>(index));
    FaceletCube inverse;
    if (!inverseCube(e->cube, inverse)) return false;  // unknown pieces: no inverse
    const IsoKey key = isoKey(inverse);
    const std::uint64_t hash = isoKeyHash(key);
    for (std::size_t j = 0; j < entries_.size(); ++j) {
        if (entries_[j] == e || !matches(key, hash, j)) continue;
        if (!prompts_->yes("Cube " + std::to_string(j + 1) + " is isomorphic to the inverted cube. Proceed?",
                           kManeuverWindow))
            return false;
    }
    detachSearches(e);
    e->cube.f = inverse.f;
    e->cube.centerOri = inverse.centerOri;
    e->solverText = generatorText(*e);
    e->optimalText = optimalGeneratorText(*e);
    modified = true;
    repaint();
    return true;
}

void CubeList::arrangeSelected() {
    // Detaching a search pumps messages, so the selection is taken before the list can change.
    std::vector<std::shared_ptr<Entry>> chosen;
    for (const int i : selectedIndices()) chosen.push_back(entries_[i]);
    for (const std::shared_ptr<Entry>& e : chosen) {
        std::shared_ptr<Entry> turned = e->copyData();
        int steps = 0;
        bool found = false;
        for (int u = 0; u < 4 && !found; ++u) {
            for (int a = 0; a < 3; ++a) {
                if (standardOrientation(symmetryMasks(turned->cube))) {
                    found = true;
                    break;
                }
                applySymmetry(*turned, 0);
                ++steps;
            }
            if (!found) {
                applySymmetry(*turned, 2);
                ++steps;
            }
        }
        // Without a standard orientation the entry stays as it was.
        if (!found || steps == 0) continue;
        detachSearches(e);
        e->cube.f = turned->cube.f;
        e->cube.centerOri = turned->cube.centerOri;
        e->solverText = turned->solverText;
        e->optimalText = turned->optimalText;
        modified = true;
    }
    repaint();
}

void CubeList::addSymmetryInfoForSelected() {
    for (const int i : selectedIndices()) {
        Entry& e = *entries_[i];
        const std::string text = symmetryClassText(e.cube);
        if (!e.patternName.empty()) e.patternName += ", ";
        e.patternName += text;
        modified = true;
    }
    repaint();
}

}  // namespace tx
