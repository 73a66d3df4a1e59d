#include "solver/coset_marks.hpp"

#include <bit>
#include <mutex>

#include "cube/symmetry.hpp"

namespace tx {

CosetBits::CosetBits() : words_(new std::atomic<std::uint32_t>[kCosetWords]) { clear(); }

void CosetBits::clear() {
    for (std::uint32_t i = 0; i < kCosetWords; ++i) words_[i].store(0, std::memory_order_relaxed);
}

void CosetBits::setAll() {
    for (std::uint32_t i = 0; i < kCosetWords; ++i) words_[i].store(~0u, std::memory_order_relaxed);
}

std::uint64_t CosetBits::count() const {
    std::uint64_t n = 0;
    for (std::uint32_t i = 0; i < kCosetWords; ++i) n += std::popcount(words_[i].load(std::memory_order_relaxed));
    return n;
}

void CosetBits::forEachClear(const std::function<bool(std::uint32_t)>& f) const {
    for (std::uint32_t i = 0; i < kCosetWords; ++i) {
        std::uint32_t clear = ~words_[i].load(std::memory_order_relaxed);
        while (clear != 0) {
            const int bit = std::countr_zero(clear);
            clear &= clear - 1;
            if (!f(32 * i + static_cast<std::uint32_t>(bit))) return;
        }
    }
}

std::shared_ptr<CosetBits> CosetBits::acquire() {
    static std::mutex mutex;
    static std::shared_ptr<CosetBits> kept;
    std::lock_guard lock(mutex);
    if (!kept) {
        kept = std::make_shared<CosetBits>();
        return kept;
    }
    if (kept.use_count() == 1) return kept;  // the search that held it has ended
    return std::make_shared<CosetBits>();
}

void setSliceOrder(CubieCube& c, int sliceOrder) {
    static const std::uint8_t pool[4] = {FR, FL, BL, BR};
    std::uint8_t order[4];
    permutationFromRank(static_cast<std::uint32_t>(sliceOrder), pool, 4, order);
    for (int i = 0; i < 4; ++i) c.edges[8 + i].c = order[i];
}

int sliceOrderOf(const CubieCube& c) {
    std::uint8_t order[4];
    for (int i = 0; i < 4; ++i) order[i] = c.edges[8 + i].c;
    return static_cast<int>(permutationRank(order, 4));
}

CosetPositions::CosetPositions(const CoordTables& t) : t_(t) {
    for (auto& f : first_) f = {0xFFFF, 0xFFFF};
    for (int cp = 0; cp < kCornerPerms; ++cp) {
        const int signature = t.cornerSignature[cp];
        if (signature >= kCornerSignatures) continue;
        CubieCube c;
        c.setCornerPerm(cp);
        std::uint16_t& f = first_[signature][c.cornerParityEven() ? 1 : 0];
        if (f == 0xFFFF) f = static_cast<std::uint16_t>(cp);
    }
}

CubieCube CosetPositions::position(std::uint32_t b) const {
    constexpr std::uint32_t kPerUdEdges = kCornerSignatures * kSlicePermutations;
    CubieCube p;
    p.setUdEdgePerm(static_cast<int>(b / kPerUdEdges));
    setSliceOrder(p, static_cast<int>(b % kSlicePermutations));
    p.setCornerPerm(first_[(b / kSlicePermutations) % kCornerSignatures][p.edgeParityEven() ? 1 : 0]);
    return p;
}

std::uint32_t CosetPositions::indexOf(const CubieCube& p) const {
    return cosetIndex(static_cast<std::uint32_t>(p.udEdgePerm()), t_.cornerSignature[p.cornerPerm()],
                      static_cast<std::uint32_t>(sliceOrderOf(p)));
}

namespace {

// M * p * S for the permutations of M, p and S (orientations play no part in the result's
// permutation coordinates).
CubieCube sandwich(const CubieCube& m, const CubieCube& p, const CubieCube& s) {
    CubieCube x = m;
    x.multiply(p);
    x.multiply(s);
    return x;
}

}  // namespace

CosetImages buildCosetImages(const CoordTables& t, const CubieCube& representative, std::uint16_t mask,
                             const std::function<void()>& pump) {
    const SymmetryTables& sym = symmetries();
    CubieCube r = representative;
    r.centers = CubieCube().centers;
    const CubieCube rInverse = r.inverse();
    CosetImages images;
    long long entries = 0;
    auto tick = [&] {
        if (++entries % 1000 == 0 && pump) pump();
    };
    for (int s = 1; s < kCosetSymmetries; ++s) {
        if (!(mask >> s & 1)) continue;
        images.symmetries.push_back(s);
        const CubieCube& symCube = sym.symCube[s];
        CubieCube m = r;  // R S^-1 R^-1
        m.multiply(sym.symCube[sym.symInverse[s]]);
        m.multiply(rInverse);
        auto& corners = images.cornerSignature.emplace_back();
        auto& edges = images.udEdgePerm.emplace_back();
        auto& slices = images.sliceOrder.emplace_back();
        for (int cp = 0; cp < kCornerPerms; ++cp, tick()) {
            CubieCube p;
            p.setCornerPerm(cp);
            const int image = sandwich(m, p, symCube).cornerPerm();
            corners[cp] = t.cornerSignature[image];
        }
        for (int ue = 0; ue < kUdEdgePerms; ++ue, tick()) {
            CubieCube p;
            p.setUdEdgePerm(ue);
            edges[ue] = static_cast<std::uint16_t>(sandwich(m, p, symCube).udEdgePerm());
        }
        for (int so = 0; so < kSlicePermutations; ++so, tick()) {
            CubieCube p;
            setSliceOrder(p, so);
            slices[so] = static_cast<std::uint8_t>(sliceOrderOf(sandwich(m, p, symCube)));
        }
    }
    return images;
}

}  // namespace tx
