#include "searches/symmetry_keys.hpp"

#include "cube/symmetry.hpp"
#include "searches/piece_colors.hpp"

namespace tx {

namespace {

SymmetryAction buildAction() {
    const auto& t = symmetries();
    SymmetryAction a;
    for (int k = 0; k < kSymmetries; ++k) {
        const CubieCube& s = t.symCube[k];
        const CubieCube& inv = t.symCube[t.symInverse[k]];
        for (int x = 0; x < 8; ++x) {
            a.cornerPerm[k][x] = s.corners[x].c;
            a.cornerOri[k][x] = s.corners[x].o;
            a.cornerInvOri[k][x] = inv.corners[x].o;
        }
        for (int x = 0; x < 12; ++x) {
            a.edgePerm[k][x] = s.edges[x].c;
            a.edgeOri[k][x] = s.edges[x].o;
            a.edgeInvOri[k][x] = inv.edges[x].o;
        }
    }
    return a;
}

}  // namespace

const SymmetryAction& symmetryAction() {
    static const SymmetryAction action = buildAction();
    return action;
}

// (S c S^-1)[S(p)] = (S(c(p)), S.o[c(p)] + c.o[p] + S^-1.o[S(p)]).
CornerArray conjugateCorners(const CornerArray& c, int k) {
    const auto& a = symmetryAction();
    CornerArray out;
    for (int p = 0; p < 8; ++p) {
        const int to = a.cornerPerm[k][p];
        const int cubie = c[p].c;
        out[to].c = a.cornerPerm[k][cubie];
        out[to].o = cornerOriSum(cornerOriSum(a.cornerOri[k][cubie], c[p].o), a.cornerInvOri[k][to]);
    }
    return out;
}

EdgeArray conjugateEdges(const EdgeArray& e, int k) {
    const auto& a = symmetryAction();
    EdgeArray out;
    for (int p = 0; p < 12; ++p) {
        const int to = a.edgePerm[k][p];
        const int cubie = e[p].c;
        out[to].c = a.edgePerm[k][cubie];
        out[to].o = std::uint8_t((a.edgeOri[k][cubie] + e[p].o + a.edgeInvOri[k][to]) & 1);
    }
    return out;
}

bool invariantUnder(const CornerArray& c, const EdgeArray& e, int k) {
    const auto& a = symmetryAction();
    for (int p = 0; p < 8; ++p) {
        const int to = a.cornerPerm[k][p];
        const int cubie = c[p].c;
        if (c[to].c != a.cornerPerm[k][cubie]) return false;
        if (c[to].o != cornerOriSum(cornerOriSum(a.cornerOri[k][cubie], c[p].o), a.cornerInvOri[k][to]))
            return false;
    }
    for (int p = 0; p < 12; ++p) {
        const int to = a.edgePerm[k][p];
        const int cubie = e[p].c;
        if (e[to].c != a.edgePerm[k][cubie]) return false;
        if (e[to].o != ((a.edgeOri[k][cubie] + e[p].o + a.edgeInvOri[k][to]) & 1)) return false;
    }
    return true;
}

std::uint64_t cornerKey(const CornerArray& c) {
    std::uint64_t key = 0;
    for (int p = 0; p < 8; ++p) key = (key << 8) | std::uint64_t(c[p].c * 3 + c[p].o);
    return key;
}

std::uint64_t edgeKey(const EdgeArray& e) {
    std::uint64_t key = 0;
    for (int p = 0; p < 12; ++p) key = (key << 5) | std::uint64_t(e[p].c * 2 + e[p].o);
    return key;
}

std::uint64_t canonicalCornerKey(const CornerArray& c, std::uint64_t mask) {
    std::uint64_t best = ~std::uint64_t{0};
    for (int k = 0; k < kSymmetries; ++k) {
        if (!((mask >> k) & 1)) continue;
        const std::uint64_t key = k == 0 ? cornerKey(c) : cornerKey(conjugateCorners(c, k));
        if (key < best) best = key;
    }
    return best;
}

CubeKey canonicalCubeKey(const CornerArray& c, const EdgeArray& e, std::uint64_t mask) {
    CubeKey best{~std::uint64_t{0}, ~std::uint64_t{0}};
    for (int k = 0; k < kSymmetries; ++k) {
        if (!((mask >> k) & 1)) continue;
        const std::uint64_t corners = k == 0 ? cornerKey(c) : cornerKey(conjugateCorners(c, k));
        if (corners > best.corners) continue;
        const CubeKey key{corners, k == 0 ? edgeKey(e) : edgeKey(conjugateEdges(e, k))};
        if (key < best) best = key;
    }
    return best;
}

CornerArray inverseCorners(const CornerArray& c) {
    CornerArray out;
    CubieCube::cornerInverse(c.data(), out.data());
    return out;
}

EdgeArray inverseEdges(const EdgeArray& e) {
    EdgeArray out;
    CubieCube::edgeInverse(e.data(), out.data());
    return out;
}

}  // namespace tx
