#include "cube/facelet_cube.hpp"

namespace tx {

// Facelet number of place p on face.
static constexpr std::uint8_t fl(Face face, int place) { return std::uint8_t(9 * face + place); }

const std::array<std::array<std::uint8_t, 3>, 8> kCornerFacelet = {{
    {fl(U, 8), fl(R, 0), fl(F, 2)},
    {fl(U, 6), fl(F, 0), fl(L, 2)},
    {fl(U, 0), fl(L, 0), fl(B, 2)},
    {fl(U, 2), fl(B, 0), fl(R, 2)},
    {fl(D, 2), fl(F, 8), fl(R, 6)},
    {fl(D, 0), fl(L, 8), fl(F, 6)},
    {fl(D, 6), fl(B, 8), fl(L, 6)},
    {fl(D, 8), fl(R, 8), fl(B, 6)},
}};

const std::array<std::array<std::uint8_t, 3>, 8> kCornerColor = {{
    {U, R, F}, {U, F, L}, {U, L, B}, {U, B, R}, {D, F, R}, {D, L, F}, {D, B, L}, {D, R, B},
}};

const std::array<std::array<std::uint8_t, 2>, 12> kEdgeFacelet = {{
    {fl(U, 5), fl(R, 1)}, {fl(U, 7), fl(F, 1)}, {fl(U, 3), fl(L, 1)}, {fl(U, 1), fl(B, 1)},
    {fl(D, 5), fl(R, 7)}, {fl(D, 1), fl(F, 7)}, {fl(D, 3), fl(L, 7)}, {fl(D, 7), fl(B, 7)},
    {fl(F, 5), fl(R, 3)}, {fl(F, 3), fl(L, 5)}, {fl(B, 5), fl(L, 3)}, {fl(B, 3), fl(R, 5)},
}};

const std::array<std::array<std::uint8_t, 2>, 12> kEdgeColor = {{
    {U, R}, {U, F}, {U, L}, {U, B}, {D, R}, {D, F}, {D, L}, {D, B}, {F, R}, {F, L}, {B, L}, {B, R},
}};

const std::array<std::uint8_t, 48> kPieceListFacelet = {
    7,  19, 5,  10, 1,  46, 3,  37, 28, 25, 32, 16, 34, 52, 30, 43, 23, 12, 21, 41, 48, 14, 50, 39,
    8,  20, 9,  2,  11, 45, 0,  47, 36, 6,  38, 18, 29, 15, 26, 27, 24, 44, 33, 42, 53, 35, 51, 17,
};

const std::array<std::string_view, 20> kPieceListNames = {
    "UF", "UR", "UB", "UL", "DF", "DR", "DB", "DL", "FR", "FL",
    "BR", "BL", "UFR", "URB", "UBL", "ULF", "DRF", "DFL", "DLB", "DBR",
};

namespace {

using Perm = std::array<std::uint8_t, kFacelets>;
struct Cycle {
    Face face[4];
    int place[4];
};

Perm identityPerm() {
    Perm p{};
    for (int i = 0; i < kFacelets; ++i) p[i] = std::uint8_t(i);
    return p;
}

// (a b c d): the value at a goes to b, b to c, c to d, d to a.
Perm fromCycles(std::initializer_list<Cycle> cycles) {
    Perm p = identityPerm();
    for (const Cycle& c : cycles)
        for (int k = 0; k < 4; ++k) p[fl(c.face[k], c.place[k])] = fl(c.face[(k + 1) % 4], c.place[(k + 1) % 4]);
    return p;
}

// first, then `times` times second.
Perm then(const Perm& first, const Perm& second, int times) {
    Perm r = first;
    for (int t = 0; t < times; ++t)
        for (auto& v : r) v = second[v];
    return r;
}

std::array<Perm, kFaceletTurns> buildPermutations() {
    std::array<Perm, kFaceletTurns> p;
    p[U] = fromCycles({{{U, U, U, U}, {0, 2, 8, 6}}, {{U, U, U, U}, {1, 5, 7, 3}},
                       {{R, F, L, B}, {0, 0, 0, 0}}, {{R, F, L, B}, {1, 1, 1, 1}},
                       {{R, F, L, B}, {2, 2, 2, 2}}});
    p[R] = fromCycles({{{U, B, D, F}, {2, 6, 2, 2}}, {{U, B, D, F}, {5, 3, 5, 5}},
                       {{U, B, D, F}, {8, 0, 8, 8}}, {{R, R, R, R}, {0, 2, 8, 6}},
                       {{R, R, R, R}, {1, 5, 7, 3}}});
    p[F] = fromCycles({{{U, R, D, L}, {6, 0, 2, 8}}, {{U, R, D, L}, {7, 3, 1, 5}},
                       {{U, R, D, L}, {8, 6, 0, 2}}, {{F, F, F, F}, {0, 2, 8, 6}},
                       {{F, F, F, F}, {1, 5, 7, 3}}});
    p[D] = fromCycles({{{R, B, L, F}, {6, 6, 6, 6}}, {{R, B, L, F}, {7, 7, 7, 7}},
                       {{R, B, L, F}, {8, 8, 8, 8}}, {{D, D, D, D}, {0, 2, 8, 6}},
                       {{D, D, D, D}, {1, 5, 7, 3}}});
    p[L] = fromCycles({{{U, F, D, B}, {0, 0, 0, 8}}, {{U, F, D, B}, {3, 3, 3, 5}},
                       {{U, F, D, B}, {6, 6, 6, 2}}, {{L, L, L, L}, {0, 2, 8, 6}},
                       {{L, L, L, L}, {1, 5, 7, 3}}});
    p[B] = fromCycles({{{U, L, D, R}, {0, 6, 8, 2}}, {{U, L, D, R}, {1, 3, 7, 5}},
                       {{U, L, D, R}, {2, 0, 6, 8}}, {{B, B, B, B}, {0, 2, 8, 6}},
                       {{B, B, B, B}, {1, 5, 7, 3}}});
    p[kTurnE] = fromCycles({{{R, B, L, F}, {3, 3, 3, 3}}, {{R, B, L, F}, {4, 4, 4, 4}},
                            {{R, B, L, F}, {5, 5, 5, 5}}});
    p[kTurnM] = fromCycles({{{U, F, D, B}, {1, 1, 1, 7}}, {{U, F, D, B}, {4, 4, 4, 4}},
                            {{U, F, D, B}, {7, 7, 7, 1}}});
    p[kTurnS] = fromCycles({{{U, R, D, L}, {3, 1, 5, 7}}, {{U, R, D, L}, {4, 4, 4, 4}},
                            {{U, R, D, L}, {5, 7, 3, 1}}});
    p[kTurnX] = then(then(p[R], p[L], 3), p[kTurnM], 3);
    p[kTurnY] = then(then(p[U], p[D], 3), p[kTurnE], 3);
    p[kTurnZ] = then(then(p[F], p[B], 3), p[kTurnS], 1);
    return p;
}

const std::array<ColorRenaming, kFaceletTurns> kRenaming = {{
    {0, 1, 2, 3, 4, 5}, {0, 1, 2, 3, 4, 5}, {0, 1, 2, 3, 4, 5},
    {0, 1, 2, 3, 4, 5}, {0, 1, 2, 3, 4, 5}, {0, 1, 2, 3, 4, 5},
    {5, 1, 0, 2, 4, 3},  // x
    {0, 2, 4, 3, 5, 1},  // y
    {1, 3, 2, 4, 0, 5},  // z
    {0, 5, 1, 3, 2, 4},  // E, as a D-direction rotation
    {2, 1, 3, 5, 4, 0},  // M, as an L-direction rotation
    {1, 3, 2, 4, 0, 5},  // S, as z
}};

}  // namespace

FaceletCube::FaceletCube() {
    reset();
    previous = f;
}

void FaceletCube::reset() {
    for (int i = 0; i < kFacelets; ++i) f[i] = std::uint8_t(i / 9);
    centerOri.fill(0);
}

void FaceletCube::clear() {
    for (int i = 0; i < kFacelets; ++i) f[i] = (i % 9 == 4) ? f[i] : kUndefinedFacelet;
    centerOri.fill(0);
}

FaceletCube FaceletCube::withCenters(const std::array<std::uint8_t, 6>& ori) const {
    FaceletCube c = *this;
    c.centerOri = ori;
    c.centersCount = true;
    return c;
}

const std::array<std::uint8_t, kFacelets>& FaceletCube::permutation(int code) {
    static const std::array<Perm, kFaceletTurns> perms = buildPermutations();
    return perms[code];
}

const ColorRenaming& FaceletCube::renaming(int code) { return kRenaming[code]; }

void FaceletCube::turn(int code) {
    const Perm& p = permutation(code);
    previous = f;
    for (int i = 0; i < kFacelets; ++i) f[p[i]] = previous[i];
    if (code < kTurnX) {
        centerOri[code] = std::uint8_t((centerOri[code] + 1) % 4);
        return;
    }
    // Re-express relative to the moved centres: colour c names the face its centre is on now.
    const ColorRenaming& r = kRenaming[code];
    for (auto& v : f) {
        if (v < 6)
            v = r[v];
        else if (v >= kMarkOffset && v < kReferenceMark)
            v = std::uint8_t(r[v - kMarkOffset] + kMarkOffset);
    }
    // A middle-layer turn is a pair of face turns seen from the centres, plus a rotation.
    auto bump = [&](int face, int by) { centerOri[face] = std::uint8_t((centerOri[face] + by) % 4); };
    if (code == kTurnE) bump(U, 1), bump(D, 3);
    if (code == kTurnM) bump(R, 1), bump(L, 3);
    if (code == kTurnS) bump(F, 3), bump(B, 1);
    const auto old = centerOri;
    for (int c = 0; c < 6; ++c) centerOri[r[c]] = old[c];
}

void FaceletCube::setFromCubieCube(const CubieCube& c) {
    // Pieces the cubie cube leaves open come out as the facelet values for open pieces:
    // known cubie with open orientation -> marked colours; open cubie with known
    // orientation -> a reference mark on the facelet that carries its U or D colour.
    for (int i = 0; i < 8; ++i) {
        const Piece pc = c.corners[i];
        for (int j = 0; j < 3; ++j) {
            std::uint8_t v;
            if (pc.c >= 8)
                v = (pc.o < 3 && j == pc.o) ? kReferenceMark : kUndefinedFacelet;
            else if (pc.o >= 3)
                v = std::uint8_t(kCornerColor[pc.c][j] + kMarkOffset);
            else
                v = kCornerColor[pc.c][(j - pc.o + 3) % 3];
            f[kCornerFacelet[i][j]] = v;
        }
    }
    for (int i = 0; i < 12; ++i) {
        const Piece pe = c.edges[i];
        for (int j = 0; j < 2; ++j) {
            std::uint8_t v;
            if (pe.c >= 12)
                v = (pe.o < 2 && j == pe.o) ? kReferenceMark : kUndefinedFacelet;
            else if (pe.o >= 2)
                v = std::uint8_t(kEdgeColor[pe.c][j] + kMarkOffset);
            else
                v = kEdgeColor[pe.c][(j + pe.o) % 2];
            f[kEdgeFacelet[i][j]] = v;
        }
    }
    for (int i = 0; i < 6; ++i) centerOri[i] = c.centers[i].o;
}

namespace {

bool isUD(std::uint8_t v) { return v == U || v == D || v == U + kMarkOffset || v == D + kMarkOffset; }

// Colour of a facelet with its mark dropped; 6 or 13 give values that match no cubie.
int plain(std::uint8_t v) { return v >= kMarkOffset ? v - kMarkOffset : v; }

void recognizeCorner(const FaceletCube& fc, int i, Piece& out) {
    std::uint8_t v[3];
    for (int j = 0; j < 3; ++j) v[j] = fc.f[kCornerFacelet[i][j]];
    if (v[0] == kUndefinedFacelet && v[1] == kUndefinedFacelet && v[2] == kUndefinedFacelet) {
        out = {kNoCorner, kNoOri};
        return;
    }
    for (int j = 0; j < 3; ++j) {
        if (v[j] == kReferenceMark) {
            out = {kNoCorner, std::uint8_t(j)};
            return;
        }
    }
    int o = 0;
    while (o < 3 && !isUD(v[o])) ++o;
    if (o == 3) return;  // no U or D colour: left unrecognised
    const int a = plain(v[(o + 1) % 3]), b = plain(v[(o + 2) % 3]);
    for (int k = 0; k < 8; ++k) {
        if (kCornerColor[k][1] == a && kCornerColor[k][2] == b) {
            out = {std::uint8_t(k), v[0] >= kMarkOffset ? kNoOri : std::uint8_t(o)};
            return;
        }
    }
}

void recognizeEdge(const FaceletCube& fc, int i, Piece& out) {
    const std::uint8_t v0 = fc.f[kEdgeFacelet[i][0]], v1 = fc.f[kEdgeFacelet[i][1]];
    if (v0 == kUndefinedFacelet && v1 == kUndefinedFacelet) {
        out = {kNoEdge, kNoOri};
        return;
    }
    if (v0 == kReferenceMark || v1 == kReferenceMark) {
        out = {kNoEdge, std::uint8_t(v0 == kReferenceMark ? 0 : 1)};
        return;
    }
    const int a = plain(v0), b = plain(v1);
    const bool marked = v0 >= kMarkOffset;
    for (int k = 0; k < 12; ++k) {
        if (kEdgeColor[k][0] == a && kEdgeColor[k][1] == b) {
            out = {std::uint8_t(k), marked ? kNoOri : std::uint8_t(0)};
            return;
        }
        if (kEdgeColor[k][0] == b && kEdgeColor[k][1] == a) {
            out = {std::uint8_t(k), marked ? kNoOri : std::uint8_t(1)};
            return;
        }
    }
}

// When exactly one position is open, it must hold the one cubie missing elsewhere.
template <std::size_t N>
void completeSingleOpen(std::array<Piece, N>& pieces, std::uint8_t open) {
    int openAt = -1, openCount = 0;
    bool used[N] = {};
    for (std::size_t i = 0; i < N; ++i) {
        if (pieces[i].c == open) {
            openAt = int(i);
            ++openCount;
        } else if (pieces[i].c < N) {
            used[pieces[i].c] = true;
        }
    }
    if (openCount != 1) return;
    for (std::size_t k = 0; k < N; ++k) {
        if (!used[k]) {
            pieces[openAt].c = std::uint8_t(k);
            return;
        }
    }
}

}  // namespace

CubieCube FaceletCube::toCubieCube() const {
    CubieCube c;
    for (int i = 0; i < 6; ++i) c.centers[i] = {std::uint8_t(i), centerOri[i]};
    c.centersCount = centersCount;
    for (int i = 0; i < 8; ++i) recognizeCorner(*this, i, c.corners[i]);
    for (int i = 0; i < 12; ++i) recognizeEdge(*this, i, c.edges[i]);
    completeSingleOpen(c.corners, kNoCorner);
    completeSingleOpen(c.edges, kNoEdge);
    return c;
}

bool FaceletCube::cornerTwistValid() const {
    int sum = 0;
    for (const auto& corner : kCornerFacelet) {
        for (int j = 0; j < 3; ++j) {
            const std::uint8_t v = f[corner[j]];
            if (v == U || v == D) {
                sum += j;
                break;
            }
        }
    }
    return sum % 3 == 0;
}

bool FaceletCube::edgeFlipValid() const {
    int flipped = 0;
    for (const auto& edge : kEdgeFacelet) {
        const std::uint8_t a = f[edge[0]], b = f[edge[1]];
        if (a != U && a != D && (b == U || b == D || b == F || b == B)) ++flipped;
    }
    return flipped % 2 == 0;
}

bool FaceletCube::isComplete() const {
    for (auto v : f)
        if (v > 5) return false;
    return true;
}

bool FaceletCube::centersInPlace() const {
    for (int k = 0; k < 6; ++k)
        if (f[9 * k + 4] != k) return false;
    return true;
}

char faceLetter(int color) { return (color >= 0 && color < 6) ? "URFDLB"[color] : 0; }

int colorOfLetter(char letter) {
    switch (letter) {
        case 'U': case 'u': return U;
        case 'R': case 'r': return R;
        case 'F': case 'f': return F;
        case 'D': case 'd': return D;
        case 'L': case 'l': return L;
        case 'B': case 'b': return B;
        default: return -1;
    }
}

int FaceletCube::readFaceletString(std::string_view text) {
    clear();
    int n = 0;
    for (char ch : text) {
        if (n == kFacelets || ch == '\r' || ch == '\n') break;
        const int c = colorOfLetter(ch);
        if (c >= 0) f[n++] = std::uint8_t(c);
    }
    return n;
}

std::string FaceletCube::faceletString() const {
    std::string s;
    s.reserve(kFacelets);
    for (auto v : f) {
        if (v < 6)
            s += faceLetter(v);
        else if (v == kUndefinedFacelet)
            s += 'N';
        else if (v < kReferenceMark)
            s += char(faceLetter(v - kMarkOffset) - 'A' + 'a');
        else
            s += '*';
    }
    return s;
}

int FaceletCube::readPieceList(std::string_view text) {
    int n = 0;
    for (char ch : text) {
        if (n == 48) break;
        const int c = colorOfLetter(ch);
        if (c >= 0) f[kPieceListFacelet[n++]] = std::uint8_t(c);
    }
    return n;
}

std::string FaceletCube::pieceList() const {
    std::string s;
    int k = 0;
    for (std::string_view name : kPieceListNames) {
        for (std::size_t j = 0; j < name.size(); ++j, ++k) {
            const std::uint8_t v = f[kPieceListFacelet[k]];
            if (v < 6)
                s += faceLetter(v);
            else if (v == kUndefinedFacelet)
                s += 'N';
        }
        s += ' ';
    }
    return s;
}

}  // namespace tx
