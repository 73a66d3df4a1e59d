#pragma once
// What the coset enumeration writes: the set of positions of H' reached so far (one bit per
// position), the symmetric images of a position under the coset's symmetries, and the worker
// that marks them. H' is the subgroup with twist, flip, slice and dCornerPos zero: the U/D edge
// permutation (8!), the corner permutations that keep the D corners in the D layer (288 with
// the parity of the edges) and the order of the slice edges (24).
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "cube/cubie_cube.hpp"
#include "tables/coord_tables.hpp"

namespace tx {

constexpr std::uint32_t kCosetPositions = 278691840;  // 40320 x 288 x 24
constexpr std::uint32_t kCosetWords = kCosetPositions / 32;
constexpr int kCornerSignatures = 288;
constexpr int kCosetSymmetries = 16;  // the symmetries that keep the U-D axis

// Index of a position of H' from its U/D edge permutation, corner signature and slice order.
constexpr std::uint32_t cosetIndex(std::uint32_t udEdgePerm, std::uint32_t cornerSignature, std::uint32_t sliceOrder) {
    return udEdgePerm * (kCornerSignatures * kSlicePermutations) + cornerSignature * kSlicePermutations + sliceOrder;
}

// The reached set: 278,691,840 bits in 32-bit words, set by any number of threads at once.
class CosetBits {
public:
    CosetBits();
    CosetBits(const CosetBits&) = delete;
    CosetBits& operator=(const CosetBits&) = delete;

    void clear();
    void setAll();
    void reset(std::uint32_t b) { words_[b >> 5].fetch_and(~(1u << (b & 31)), std::memory_order_relaxed); }
    bool test(std::uint32_t b) const {
        return (words_[b >> 5].load(std::memory_order_relaxed) >> (b & 31)) & 1u;
    }
    // Sets bit b; true when this call set it (it was clear).
    bool set(std::uint32_t b) {
        const std::uint32_t bit = 1u << (b & 31);
        std::atomic<std::uint32_t>& w = words_[b >> 5];
        if (w.load(std::memory_order_relaxed) & bit) return false;
        return (w.fetch_or(bit, std::memory_order_relaxed) & bit) == 0;
    }
    std::uint64_t count() const;
    // Calls f(b) for every clear bit in ascending order until f answers false.
    void forEachClear(const std::function<bool(std::uint32_t)>& f) const;

    // The process keeps one reached set and hands it to the next coset search once the last
    // one has let go of it; a search started while another holds it gets a new one.
    static std::shared_ptr<CosetBits> acquire();

private:
    std::unique_ptr<std::atomic<std::uint32_t>[]> words_;
};

// For each symmetry S of the coset's mask besides the identity, the coordinates of
// R S^-1 R^-1 p S for every permutation p (R the coset representative): the image of a reached
// position under S. Corners are kept as corner signatures, slice edges as their order 0..23.
struct CosetImages {
    std::vector<int> symmetries;  // the symmetries, in ascending order
    std::vector<std::array<std::uint16_t, kCornerPerms>> cornerSignature;
    std::vector<std::array<std::uint16_t, kUdEdgePerms>> udEdgePerm;
    std::vector<std::array<std::uint8_t, kSlicePermutations>> sliceOrder;
};

// pump runs every 1000 table entries (it may be empty).
CosetImages buildCosetImages(const CoordTables& t, const CubieCube& representative, std::uint16_t mask,
                             const std::function<void()>& pump);

// The positions of H' from their indices: edges from the U/D edge rank and the slice order,
// corners the first corner permutation (ascending) with the signature and the edges' parity.
class CosetPositions {
public:
    explicit CosetPositions(const CoordTables& t);
    CubieCube position(std::uint32_t b) const;
    std::uint32_t indexOf(const CubieCube& p) const;  // p must lie in H'

private:
    const CoordTables& t_;
    std::array<std::array<std::uint16_t, 2>, kCornerSignatures> first_{};  // [signature][edges even]
};

// The slice edges of positions 8..11 as their order 0..23, and the setter.
int sliceOrderOf(const CubieCube& c);
void setSliceOrder(CubieCube& c, int sliceOrder);

// One thread's view of the enumeration: it marks the positions its search reaches, with their
// images, and counts what it marked first. The driver adds a checkpoint that hands the counts
// on and pauses or ends the thread.
class CosetWorker {
public:
    CosetWorker(CosetBits& bits, const CosetImages& images, const CoordTables& tables)
        : bits_(bits), images_(images), signature_(tables.cornerSignature.data()) {}
    virtual ~CosetWorker() = default;

    // The search reached the position of H' with these coordinates.
    void reach(int cornerPerm, int udEdgePerm, int sliceOrder) {
        ++leaves;
        const std::uint32_t b = cosetIndex(udEdgePerm, signature_[cornerPerm], sliceOrder);
        if (!bits_.set(b)) return;
        ++newlyReached;
        for (std::size_t k = 0; k < images_.symmetries.size(); ++k) {
            const std::uint32_t image = cosetIndex(images_.udEdgePerm[k][udEdgePerm],
                                                   images_.cornerSignature[k][cornerPerm],
                                                   images_.sliceOrder[k][sliceOrder]);
            if (bits_.set(image)) ++newlyReached;
        }
    }
    // Called every few thousand nodes; false when the search must end now.
    virtual bool checkpoint() { return true; }

    std::uint64_t newlyReached = 0;  // positions this worker marked first
    std::uint64_t leaves = 0;        // positions of H' its search reached

private:
    CosetBits& bits_;
    const CosetImages& images_;
    const std::uint16_t* signature_;
};

}  // namespace tx
