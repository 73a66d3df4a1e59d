#pragma once
// The symmetry search: every cube that is invariant under a group of the 48 symmetries (and
// turned into its inverse by the antisymmetries), built cubie by cubie: corners first, then
// edges, each choice propagated over the group at once, pruned by the number of colours per
// face, and with isomorphic cubes left out unless asked for.
#include <array>
#include <cstdint>
#include <unordered_set>
#include <vector>

#include "searches/piece_colors.hpp"
#include "searches/search_worker.hpp"
#include "searches/symmetry_groups.hpp"
#include "searches/symmetry_keys.hpp"

namespace tx {

// Which pieces take part (the permutation radio buttons).
enum class SymPieces {
    All,          // the whole cube
    EdgesMove,    // only edges move, corners stay solved
    CornersMove,  // only corners move, edges stay solved
    EdgesOnly,    // corners ignored: odd edge permutations, made solvable by two corners
    CornersOnly,  // edges ignored: odd corner permutations, made solvable by two edges
};

struct SymSearchOptions {
    SymmetryGroup group;             // closed, see closeGroup()
    SymPieces pieces = SymPieces::All;
    bool exact = true;               // the symmetry group must be exactly the chosen one
    bool allowIsomorphs = false;     // no isomorphism tests
    bool continuous = false;         // continuity rule (whole cube only)
    bool rejectSelfInverse = false;  // cubes equal to their inverse are left out
    bool isoIncludesInverse = false; // a cube is also isomorphic to the other's inverse
    unsigned colourCounts = 0b110;   // bit n set: n colours per face are allowed (1..6)
};

// The entries' cubieSubset for the results: 1 corners only, 2 edges only, else 0.
int cubieSubsetOf(SymPieces pieces);

class SySearch : public SearchWorker {
public:
    explicit SySearch(const SymSearchOptions& options);
    ~SySearch() override;

    const SymSearchOptions& options() const { return options_; }
    int cubieSubset() const { return cubieSubsetOf(options_.pieces); }
    // The symmetries under which equivalent corner arrangements are skipped.
    std::uint64_t normalizerMask() const { return normalizer_; }
    // CornerClassStart: for every corner class of the last run, the number (from 0) of its
    // first cube among the cubes found. Grows as needed.
    const std::vector<long long>& cornerClassStart() const { return cornerClassStart_; }

protected:
    void search() override;

private:
    struct Placement {
        std::uint8_t pos, cubie, ori;
    };
    using Orbit = std::vector<Placement>;

    void buildOrbits();
    void setUp();
    void cornerStep(int p);
    void edgeStep(int p);
    void cornersComplete();
    void accept();
    bool acceptable() const;
    bool propagateCorners(const Orbit& orbit);
    bool propagateEdges(const Orbit& orbit);
    void putCorner(int pos, int cubie, int ori);
    void putEdge(int pos, int cubie, int flip);
    void undoTo(std::size_t mark);
    void removeCorner(int pos);
    void removeEdge(int pos);
    void count(int facelet, int delta);
    bool coloursWithinMax() const;
    bool newEdgesContinuous(int p, std::size_t mark) const;
    bool isNewCube();
    FaceletCube resultCube() const;

    SymSearchOptions options_;
    std::uint64_t normalizer_ = 0;
    std::vector<int> nonMembers_;  // symmetries outside the group, for the exact test
    int maxColours_ = 2;
    unsigned allowedColours_ = 0b110;
    // orbits[p][j][o]: what placing cubie j at p with orientation o requires elsewhere.
    std::array<std::array<std::array<Orbit, 3>, 8>, 8> cornerOrbits_;
    std::array<std::array<std::array<Orbit, 2>, 12>, 12> edgeOrbits_;

    CornerArray corners_{};
    EdgeArray edges_{};
    std::array<bool, 8> cornerUsed_{};
    std::array<bool, 12> edgeUsed_{};
    Facelets facelets_{};
    std::array<std::array<std::uint8_t, 6>, 6> colourCount_{};  // [face][colour]
    std::array<int, 6> distinct_{};
    std::vector<int> undo_;  // positions filled by propagation: corners 0..7, edges 8..19

    std::vector<long long> cornerClassStart_;
    std::size_t currentCornerClass_ = 0;
    std::unordered_set<std::uint64_t> classCorners_;  // canonical corner keys of the classes
    std::unordered_set<CubeKey, CubeKeyHash> cubesFound_;
};

}  // namespace tx
