#include "tables/coord_tables.hpp"

#include <algorithm>

#include "cube/symmetry.hpp"

namespace tx {

void conjugateEdges(const CubieCube& x, int s, CubieCube& out) {
    const auto& st = symmetries();
    Piece tmp[12];
    CubieCube::edgeProduct(st.symCube[s].edges.data(), x.edges.data(), tmp);
    CubieCube::edgeProduct(tmp, st.symCube[st.symInverse[s]].edges.data(), out.edges.data());
}

void conjugateCorners(const CubieCube& x, int s, CubieCube& out) {
    const auto& st = symmetries();
    Piece tmp[8];
    CubieCube::cornerProduct(st.symCube[s].corners.data(), x.corners.data(), tmp);
    CubieCube::cornerProduct(tmp, st.symCube[st.symInverse[s]].corners.data(), out.corners.data());
}

namespace {

void conjugateCenters(const CubieCube& x, int s, CubieCube& out) {
    const auto& st = symmetries();
    Piece tmp[6];
    CubieCube::centerProduct(st.symCube[s].centers.data(), x.centers.data(), tmp);
    CubieCube::centerProduct(tmp, st.symCube[st.symInverse[s]].centers.data(), out.centers.data());
}

template <class T>
int searchRep(const std::vector<T>& reps, std::uint32_t raw) {
    if (reps.empty() || raw > reps.back()) return -1;
    auto it = std::lower_bound(reps.begin(), reps.end(), raw);
    if (it == reps.end() || *it != raw) return -1;
    return static_cast<int>(it - reps.begin());
}

template <class Rows, class Coord>
void fillMoveTable(std::vector<std::uint16_t>& table, int rows, Rows setRow, Coord coord,
                   bool phase2Only = false) {
    table.assign(static_cast<std::size_t>(rows) * kMoves, 0);
    const auto& moves = CubieCube::moveCubes();
    for (int r = 0; r < rows; ++r) {
        CubieCube c;
        setRow(c, r);
        for (int axis = 0; axis < kAxes; ++axis) {
            for (int p = 0; p < 4; ++p) {
                c.multiply(moves[axis]);
                if (p < 3 && (!phase2Only || isPhase2Move(3 * axis + p)))
                    table[static_cast<std::size_t>(r) * kMoves + 3 * axis + p] =
                        static_cast<std::uint16_t>(coord(c));
            }
        }
    }
}

template <class SetRow, class Conj>
void fillConjTable(std::vector<std::uint16_t>& table, int rows, SetRow setRow, Conj conj) {
    table.assign(static_cast<std::size_t>(rows) * kUdSymmetries, 0);
    for (int r = 0; r < rows; ++r) {
        CubieCube c;
        setRow(c, r);
        for (int s = 0; s < kUdSymmetries; ++s) table[index::conj(r, s)] = conj(c, s);
    }
}

}  // namespace

int flipSliceClassOf(const CoordTables& t, const CubieCube& cube) {
    const auto& reps = t.flipSliceRep;
    CubieCube conj;
    for (int s = 0; s < kUdSymmetries; ++s) {
        conjugateEdges(cube, s, conj);
        int idx = searchRep(reps, static_cast<std::uint32_t>(conj.flipSlice()));
        if (idx >= 0) return static_cast<int>(index::classSym(idx, s));
    }
    return -1;
}

bool isFlipSliceRepresentative(const CoordTables& t, const CubieCube& cube) {
    return searchRep(t.flipSliceRep, static_cast<std::uint32_t>(cube.flipSlice())) >= 0;
}

int sliceSortedClassOf(const CoordTables& t, const CubieCube& cube) {
    const auto& reps = t.sliceSortedRep;
    CubieCube conj;
    for (int s = 0; s < kUdSymmetries; ++s) {
        conjugateEdges(cube, s, conj);
        int idx = searchRep(reps, static_cast<std::uint32_t>(conj.sliceSorted()));
        if (idx >= 0) return static_cast<int>(index::classSym(idx, s));
    }
    return -1;
}

int cornerClassLookup(const CoordTables& t, const CubieCube& cube) { return t.cornerClassOf[cube.cornerPerm()]; }

void computeFlipSliceRep(CoordTables& t, RowCallback onRow, void* ctx) {
    std::vector<bool> marked(kFlipSliceRaw, false);
    t.flipSliceRep.clear();
    t.flipSliceRep.reserve(kFlipSliceClasses);
    CubieCube c, conj;
    for (int slice = 0; slice < kSlices; ++slice) {
        c.setSlice(slice);
        for (int flip = 0; flip < kFlips; ++flip) {
            const int raw = index::flipSlice(slice, flip);
            if (marked[raw]) continue;
            c.setFlip(flip);
            t.flipSliceRep.push_back(static_cast<std::uint32_t>(raw));
            for (int s = 0; s < kUdSymmetries; ++s) {
                conjugateEdges(c, s, conj);
                marked[conj.flipSlice()] = true;
            }
        }
        if (onRow) onRow(ctx, slice);
    }
}

void computeSliceSortedRep(CoordTables& t) {
    std::vector<bool> marked(kSliceSorted, false);
    t.sliceSortedRep.clear();
    CubieCube c, conj;
    for (int raw = 0; raw < kSliceSorted; ++raw) {
        if (marked[raw]) continue;
        c.setSliceSorted(raw);
        t.sliceSortedRep.push_back(static_cast<std::uint16_t>(raw));
        for (int s = 0; s < kUdSymmetries; ++s) {
            conjugateEdges(c, s, conj);
            marked[conj.sliceSorted()] = true;
        }
    }
}

void computeCornerClasses(CoordTables& t) {
    std::vector<bool> marked(kCornerPerms, false);
    t.cornerRep.clear();
    for (int raw = 0; raw < kCornerPerms; ++raw) {
        if (marked[raw]) continue;
        CubieCube c, conj;
        c.setCornerPerm(raw);
        t.cornerRep.push_back(static_cast<std::uint16_t>(raw));
        for (int s = 0; s < kUdSymmetries; ++s) {
            conjugateCorners(c, s, conj);
            marked[conj.cornerPerm()] = true;
        }
    }
    // Each member X of a class gets classSym(class, s) with S_s X S_s^-1 = R, the smallest such s.
    t.cornerClassOf.assign(kCornerPerms, 0xFFFF);
    const auto& st = symmetries();
    for (int cls = 0; cls < static_cast<int>(t.cornerRep.size()); ++cls) {
        CubieCube r, x;
        r.setCornerPerm(t.cornerRep[cls]);
        for (int s = 0; s < kUdSymmetries; ++s) {
            conjugateCorners(r, st.symInverse[s], x);  // S_s^-1 R S_s
            auto& entry = t.cornerClassOf[x.cornerPerm()];
            if (entry == 0xFFFF) entry = static_cast<std::uint16_t>(index::classSym(cls, s));
        }
    }
}

void computeFlipSliceMove(CoordTables& t, RowCallback onRow, void* ctx) {
    t.flipSliceMove.assign(static_cast<std::size_t>(kFlipSliceClasses) * kMoves, 0);
    const auto& moves = CubieCube::moveCubes();
    for (int cls = 0; cls < kFlipSliceClasses; ++cls) {
        CubieCube c;
        c.setSlice(index::sliceOf(t.flipSliceRep[cls]));
        c.setFlip(index::flipOf(t.flipSliceRep[cls]));
        for (int axis = 0; axis < kAxes; ++axis) {
            for (int p = 0; p < 4; ++p) {
                c.multiplyEdges(moves[axis]);
                if (p < 3)
                    t.flipSliceMove[static_cast<std::size_t>(cls) * kMoves + 3 * axis + p] =
                        static_cast<std::uint32_t>(flipSliceClassOf(t, c));
            }
        }
        if (onRow && (cls & 255) == 0) onRow(ctx, cls);
    }
}

void computeMoveTables(CoordTables& t) {
    fillMoveTable(t.twistMove, kTwists, [](CubieCube& c, int r) { c.setTwist(r); },
                  [](const CubieCube& c) { return c.twist(); });
    fillMoveTable(t.flipMove, kFlips, [](CubieCube& c, int r) { c.setFlip(r); },
                  [](const CubieCube& c) { return c.flip(); });
    fillMoveTable(t.dCornerPosMove, kDCornerPos, [](CubieCube& c, int r) { c.setDCornerPos(r); },
                  [](const CubieCube& c) { return c.dCornerPos(); });
    fillMoveTable(t.sliceSortedMove, kSliceSorted, [](CubieCube& c, int r) { c.setSliceSorted(r); },
                  [](const CubieCube& c) { return c.sliceSorted(); });
    fillMoveTable(t.cornerPermMove, kCornerPerms, [](CubieCube& c, int r) { c.setCornerPerm(r); },
                  [](const CubieCube& c) { return c.cornerPerm(); });

    t.cornerSignature.assign(kCornerPerms, kSignatureNone);
    for (int r = 0; r < kCornerPerms; ++r) {
        CubieCube c;
        c.setCornerPerm(r);
        std::uint8_t first[4];
        bool upperHome = true;
        for (int i = 0; i < 4; ++i) {
            first[i] = c.corners[i].c;
            if (first[i] > 3) upperHome = false;
        }
        if (!upperHome) continue;
        int pos4 = -1, pos5 = -1;
        for (int i = 4; i < 8; ++i) {
            if (c.corners[i].c == 4) pos4 = i;
            if (c.corners[i].c == 5) pos5 = i;
        }
        int a = static_cast<int>(permutationRank(first, 4));
        int pair = (pos4 - 4) * 3 + (pos5 - 4) - (pos5 > pos4 ? 1 : 0);
        t.cornerSignature[r] = static_cast<std::uint16_t>(12 * a + pair);
    }

    fillMoveTable(t.udEdgePermMove, kUdEdgePerms, [](CubieCube& c, int r) { c.setUdEdgePerm(r); },
                  [](const CubieCube& c) { return c.udEdgePerm(); }, true);

    t.sliceSortedClassMove.assign(static_cast<std::size_t>(kSliceSortedClasses) * kMoves, 0);
    const auto& moves = CubieCube::moveCubes();
    for (int cls = 0; cls < kSliceSortedClasses; ++cls) {
        CubieCube c;
        c.setSliceSorted(t.sliceSortedRep[cls]);
        for (int axis = 0; axis < kAxes; ++axis)
            for (int p = 0; p < 4; ++p) {
                c.multiplyEdges(moves[axis]);
                if (p < 3)
                    t.sliceSortedClassMove[static_cast<std::size_t>(cls) * kMoves + 3 * axis + p] =
                        static_cast<std::uint32_t>(sliceSortedClassOf(t, c));
            }
    }

    fillMoveTable(t.centerOriMove, kCenterOris, [](CubieCube& c, int r) { c.setCenterOri(r); },
                  [](const CubieCube& c) { return c.centerOri(); });
    auto setParity = [](CubieCube& c, int r) {
        c.centers[R].o = std::uint8_t(r & 1);
        c.centers[F].o = std::uint8_t(r >> 1 & 1);
        c.centers[L].o = std::uint8_t(r >> 2 & 1);
        c.centers[B].o = std::uint8_t(r >> 3 & 1);
    };
    fillMoveTable(t.centerParityMove, kCenterParities, setParity,
                  [](const CubieCube& c) { return c.centerParity(); });

    t.centerSumParity.assign(kCenterOris, 0);
    for (int r = 0; r < kCenterOris; ++r) {
        CubieCube c;
        c.setCenterOri(r);
        t.centerSumParity[r] = c.sideCenterSumDivisibleBy4() ? 0 : 1;
    }
    for (int r = 0; r < kSlicePermutations; ++r) {
        CubieCube c;
        c.setSliceSorted(r);
        t.sliceSortedParity[r] = c.sliceParityEven() ? 0 : 1;
    }
    fillMoveTable(t.sliceMove, kSlices, [](CubieCube& c, int r) { c.setSlice(r); },
                  [](const CubieCube& c) { return c.slice(); });
}

void computeConjugationTables(CoordTables& t) {
    fillConjTable(t.twistConj, kTwists, [](CubieCube& c, int r) { c.setTwist(r); },
                  [](const CubieCube& c, int s) {
                      CubieCube o;
                      conjugateCorners(c, s, o);
                      return static_cast<std::uint16_t>(o.twist());
                  });
    fillConjTable(t.dCornerPosConj, kDCornerPos, [](CubieCube& c, int r) { c.setDCornerPos(r); },
                  [](const CubieCube& c, int s) {
                      CubieCube o;
                      conjugateCorners(c, s, o);
                      return static_cast<std::uint16_t>(o.dCornerPos());
                  });
    fillConjTable(t.udEdgePermConj, kUdEdgePerms, [](CubieCube& c, int r) { c.setUdEdgePerm(r); },
                  [](const CubieCube& c, int s) {
                      CubieCube o;
                      conjugateEdges(c, s, o);
                      return static_cast<std::uint16_t>(o.udEdgePerm());
                  });
    fillConjTable(t.sliceSortedConj, kSlicePermutations, [](CubieCube& c, int r) { c.setSliceSorted(r); },
                  [](const CubieCube& c, int s) {
                      CubieCube o;
                      conjugateEdges(c, s, o);
                      return static_cast<std::uint16_t>(o.sliceSorted());
                  });
    fillConjTable(t.cornerPermConj, kCornerPerms, [](CubieCube& c, int r) { c.setCornerPerm(r); },
                  [](const CubieCube& c, int s) {
                      CubieCube o;
                      conjugateCorners(c, s, o);
                      return static_cast<std::uint16_t>(o.cornerPerm());
                  });
    fillConjTable(t.centerParityConj, kCenterParities,
                  [](CubieCube& c, int r) {
                      c.centers[R].o = std::uint8_t(r & 1);
                      c.centers[F].o = std::uint8_t(r >> 1 & 1);
                      c.centers[L].o = std::uint8_t(r >> 2 & 1);
                      c.centers[B].o = std::uint8_t(r >> 3 & 1);
                  },
                  [](const CubieCube& c, int s) {
                      CubieCube o;
                      conjugateCenters(c, s, o);
                      return static_cast<std::uint16_t>(o.centerParity());
                  });
}

void computeUdEdgeFromSlices(CoordTables& t) {
    t.udEdgeFromSlices.assign(static_cast<std::size_t>(kSliceSorted) * kSlicePermutations, kNoUdEdgePerm);
    CubieCube c, a, b;
    for (int n = 0; n < kUdEdgePerms; ++n) {
        c.setUdEdgePerm(n);
        conjugateEdges(c, kSymUrf3, a);
        conjugateEdges(a, kSymUrf3, b);
        t.udEdgeFromSlices[index::udEdgeFromSlices(a.sliceSorted(), b.sliceSorted())] =
            static_cast<std::uint16_t>(n);
    }
}

void computeStabilisers(const CoordTables& t, Stabilisers& out, RowCallback onRow, void* ctx) {
    out.flipSlice.assign(kFlipSliceClasses, 1);
    CubieCube c, conj;
    for (int cls = 0; cls < kFlipSliceClasses; ++cls) {
        std::uint32_t rep = t.flipSliceRep[cls];
        c.setSlice(index::sliceOf(rep));
        c.setFlip(index::flipOf(rep));
        std::uint16_t mask = 1;
        for (int s = 1; s < kUdSymmetries; ++s) {
            conjugateEdges(c, s, conj);
            if (static_cast<std::uint32_t>(conj.flipSlice()) == rep) mask |= std::uint16_t(1u << s);
        }
        out.flipSlice[cls] = mask;
        if (onRow && (cls & 255) == 0) onRow(ctx, cls);
    }
    out.corner.assign(kCornerClasses, 1);
    for (int cls = 0; cls < kCornerClasses; ++cls) {
        CubieCube r;
        r.setCornerPerm(t.cornerRep[cls]);
        std::uint16_t mask = 1;
        for (int s = 1; s < kUdSymmetries; ++s) {
            conjugateCorners(r, s, conj);
            if (conj.cornerPerm() == t.cornerRep[cls]) mask |= std::uint16_t(1u << s);
        }
        out.corner[cls] = mask;
    }
}

}  // namespace tx
