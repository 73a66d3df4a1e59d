#include "cube/symmetry.hpp"

namespace tx {

namespace {

bool sameFirstCorners(const CubieCube& a, const CubieCube& b) {
    for (int i = 0; i < 3; ++i)
        if (a.corners[i].c != b.corners[i].c) return false;
    return true;
}

SymmetryTables build() {
    SymmetryTables t;
    const auto& basic = CubieCube::basicSymmetries();
    CubieCube c;
    int k = 0;
    for (int a = 0; a < 3; ++a) {
        for (int f = 0; f < 2; ++f) {
            for (int u = 0; u < 4; ++u) {
                for (int r = 0; r < 2; ++r) {
                    t.symCube[k++] = c;
                    c.multiply(basic[3]);
                }
                c.multiply(basic[2]);
            }
            c.multiply(basic[1]);
        }
        c.multiply(basic[0]);
    }
    for (int i = 0; i < kSymmetries; ++i) {
        for (int j = 0; j < kSymmetries; ++j) {
            CubieCube p = t.symCube[i];
            p.multiplyCorners(t.symCube[j]);
            if (p.corners[URF].c == URF && p.corners[UFL].c == UFL && p.corners[ULB].c == ULB) {
                t.symInverse[i] = std::uint8_t(j);
                break;
            }
        }
    }
    for (int i = 0; i < kSymmetries; ++i) {
        for (int j = 0; j < kSymmetries; ++j) {
            CubieCube p = t.symCube[i];
            p.multiplyCorners(t.symCube[j]);
            for (int m = 0; m < kSymmetries; ++m) {
                if (sameFirstCorners(p, t.symCube[m])) {
                    t.symProduct[i][j] = std::uint8_t(m);
                    break;
                }
            }
        }
    }
    const auto& moves = CubieCube::moveCubes();
    for (int axis = 0; axis < kAxes; ++axis) {
        CubieCube mv;
        for (int power = 1; power <= 3; ++power) {
            mv.multiplyCorners(moves[axis]);
            for (int s = 0; s < kSymmetries; ++s) {
                CubieCube conj = t.symCube[s];
                conj.multiplyCorners(mv);
                conj.multiplyCorners(t.symCube[t.symInverse[s]]);
                bool found = false;
                for (int i = 0; i < kAxes && !found; ++i) {
                    CubieCube trial = conj;
                    for (int p = 1; p <= 3; ++p) {
                        trial.multiplyCorners(moves[i]);
                        bool home = true;
                        for (int q = 0; q < 8; ++q)
                            if (trial.corners[q].c != q || trial.corners[q].o != 0) home = false;
                        if (home) {
                            t.symMoveConj[s][3 * axis + power - 1] = std::uint8_t(3 * i + (4 - p) - 1);
                            found = true;
                            break;
                        }
                    }
                }
            }
        }
    }
    return t;
}

}  // namespace

const SymmetryTables& symmetries() {
    static const SymmetryTables tables = build();
    return tables;
}

CubieCube conjugate(const CubieCube& cube, int k) {
    const auto& t = symmetries();
    CubieCube r = t.symCube[k];
    r.multiply(cube);
    r.multiply(t.symCube[t.symInverse[k]]);
    r.centersCount = cube.centersCount;
    return r;
}

const std::array<GroupRow, 35> GroupMaskTable = {{
    {"Oh", 48, 0xFFFFFFFFFFFF},      {"O", 24, 0x555555555555},        {"Td", 24, 0x999999999999},
    {"D3d", 12, 0x240924092409},     {"Th", 24, 0x333333333333},       {"C3v", 6, 0x000900090009},
    {"T", 12, 0x111111111111},       {"D4h", 16, 0x00000000FFFF},      {"D3", 6, 0x040104010401},
    {"D4", 8, 0x000000005555},       {"D2d(face)", 8, 0x000000009999}, {"C4v", 8, 0x0000000000FF},
    {"C4h", 8, 0x00000000AA55},      {"D2h(edge)", 8, 0x000000006699}, {"D2d(edge)", 8, 0x00000000CC33},
    {"S6", 6, 0x200120012001},       {"D2h(face)", 8, 0x000000003333}, {"C2v(a1)", 4, 0x000000000099},
    {"C2v(b)", 4, 0x000000000681},   {"C2h(b)", 4, 0x000000002409},    {"D2(edge)", 4, 0x000000004411},
    {"C4", 4, 0x000000000055},       {"D2(face)", 4, 0x000000001111},  {"S4", 4, 0x000000008811},
    {"C2h(a)", 4, 0x000000002211},   {"C2v(a2)", 4, 0x000000000033},   {"C3", 3, 0x000100010001},
    {"Cs(b)", 2, 0x000000000081},    {"C2(b)", 2, 0x000000000401},     {"C2(a)", 2, 0x000000000011},
    {"Cs(a)", 2, 0x000000000201},    {"Ci", 2, 0x000000002001},        {"C1", 1, 0x000000000001},
    {"Cs(a)", 2, 0x000000000003},    {"Cs(b)", 2, 0x000000000009},
}};

int groupRowOfMask(std::uint64_t mask) {
    for (int i = 0; i < static_cast<int>(GroupMaskTable.size()); ++i)
        if (GroupMaskTable[i].mask == mask) return i;
    return -1;
}

}  // namespace tx
