#include "cube/cubie_cube.hpp"

namespace tx {

namespace {

CubieCube makeCube(const int (&cp)[8], const int (&co)[8], const int (&ep)[12], const int (&eo)[12],
                   const int (&cc)[6], const int (&cco)[6]) {
    CubieCube cube;
    for (int i = 0; i < 8; ++i) cube.corners[i] = {std::uint8_t(cp[i]), std::uint8_t(co[i])};
    for (int i = 0; i < 12; ++i) cube.edges[i] = {std::uint8_t(ep[i]), std::uint8_t(eo[i])};
    for (int i = 0; i < 6; ++i) cube.centers[i] = {std::uint8_t(cc[i]), std::uint8_t(cco[i])};
    return cube;
}

constexpr int kHome6[6] = {U, R, F, D, L, B};

std::array<CubieCube, kAxes> buildMoveCubes() {
    return {
        makeCube({UBR, URF, UFL, ULB, DFR, DLF, DBL, DRB}, {0, 0, 0, 0, 0, 0, 0, 0},
                 {UB, UR, UF, UL, DR, DF, DL, DB, FR, FL, BL, BR}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                 kHome6, {1, 0, 0, 0, 0, 0}),
        makeCube({DFR, UFL, ULB, URF, DRB, DLF, DBL, UBR}, {2, 0, 0, 1, 1, 0, 0, 2},
                 {FR, UF, UL, UB, BR, DF, DL, DB, DR, FL, BL, UR}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                 kHome6, {0, 1, 0, 0, 0, 0}),
        makeCube({UFL, DLF, ULB, UBR, URF, DFR, DBL, DRB}, {1, 2, 0, 0, 2, 1, 0, 0},
                 {UR, FL, UL, UB, DR, FR, DL, DB, UF, DF, BL, BR}, {0, 1, 0, 0, 0, 1, 0, 0, 1, 1, 0, 0},
                 kHome6, {0, 0, 1, 0, 0, 0}),
        makeCube({URF, UFL, ULB, UBR, DLF, DBL, DRB, DFR}, {0, 0, 0, 0, 0, 0, 0, 0},
                 {UR, UF, UL, UB, DF, DL, DB, DR, FR, FL, BL, BR}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                 kHome6, {0, 0, 0, 1, 0, 0}),
        makeCube({URF, ULB, DBL, UBR, DFR, UFL, DLF, DRB}, {0, 1, 2, 0, 0, 2, 1, 0},
                 {UR, UF, BL, UB, DR, DF, FL, DB, FR, UL, DL, BR}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                 kHome6, {0, 0, 0, 0, 1, 0}),
        makeCube({URF, UFL, UBR, DRB, DFR, DLF, ULB, DBL}, {0, 0, 1, 2, 0, 0, 2, 1},
                 {UR, UF, UL, BR, DR, DF, DL, BL, FR, FL, UB, DB}, {0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 1, 1},
                 kHome6, {0, 0, 0, 0, 0, 1}),
        makeCube({UBR, URF, UFL, ULB, DRB, DFR, DLF, DBL}, {0, 0, 0, 0, 0, 0, 0, 0},
                 {UB, UR, UF, UL, DB, DR, DF, DL, FR, FL, BL, BR}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                 kHome6, {1, 0, 0, 3, 0, 0}),
        makeCube({DFR, DLF, UFL, URF, DRB, DBL, ULB, UBR}, {2, 1, 2, 1, 1, 2, 1, 2},
                 {FR, UF, FL, UB, BR, DF, BL, DB, DR, DL, UL, UR}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                 kHome6, {0, 1, 0, 0, 3, 0}),
        makeCube({UFL, DLF, DBL, ULB, URF, DFR, DRB, UBR}, {1, 2, 1, 2, 2, 1, 2, 1},
                 {UR, FL, UL, BL, DR, FR, DL, BR, UF, DF, DB, UB}, {0, 1, 0, 1, 0, 1, 0, 1, 1, 1, 1, 1},
                 kHome6, {0, 0, 1, 0, 0, 3}),
    };
}

std::array<CubieCube, 4> buildBasicSymmetries() {
    return {
        makeCube({URF, DFR, DLF, UFL, UBR, DRB, DBL, ULB}, {1, 2, 1, 2, 2, 1, 2, 1},
                 {UF, FR, DF, FL, UB, BR, DB, BL, UR, DR, DL, UL}, {1, 0, 1, 0, 1, 0, 1, 0, 1, 1, 1, 1},
                 {F, U, R, B, D, L}, {1, 2, 1, 1, 0, 3}),
        makeCube({DLF, DFR, DRB, DBL, UFL, URF, UBR, ULB}, {0, 0, 0, 0, 0, 0, 0, 0},
                 {DL, DF, DR, DB, UL, UF, UR, UB, FL, FR, BR, BL}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                 {D, L, F, U, R, B}, {2, 2, 2, 2, 2, 2}),
        makeCube({UBR, URF, UFL, ULB, DRB, DFR, DLF, DBL}, {0, 0, 0, 0, 0, 0, 0, 0},
                 {UB, UR, UF, UL, DB, DR, DF, DL, BR, FR, FL, BL}, {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1},
                 {U, B, R, D, F, L}, {1, 0, 0, 3, 0, 0}),
        makeCube({UFL, URF, UBR, ULB, DLF, DFR, DRB, DBL}, {3, 3, 3, 3, 3, 3, 3, 3},
                 {UL, UF, UR, UB, DL, DF, DR, DB, FL, FR, BR, BL}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                 {U, L, F, D, R, B}, {4, 4, 4, 4, 4, 4}),
    };
}

// Orientation product for corners (modulus 3, mirrored 3..5) and centres (modulus 4, 4..7).
inline std::uint8_t mirroredSum(int a, int b, int n) {
    int r;
    if (a < n && b < n) {
        r = (a + b) % n;
    } else if (a < n) {
        r = a + b;
        if (r >= 2 * n) r -= n;
    } else if (b < n) {
        r = a - b;
        if (r < n) r += n;
    } else {
        r = a - b;
        if (r < 0) r += n;
    }
    return static_cast<std::uint8_t>(r);
}

int sliceLike(const Piece* p, int count, int firstMember) {
    int a = 0, n = 3;
    for (int k = count - 1; k >= 0 && n >= 0; --k) {
        if (p[k].c >= firstMember)
            --n;
        else
            a += binomial(k, n);
    }
    return a;
}

// Positions chosen by the value: true where a member (one of the four) stands.
void sliceLikePositions(int value, int count, bool* member) {
    int n = 3;
    for (int k = count - 1; k >= 0; --k) {
        if (n >= 0 && value < binomial(k, n)) {
            member[k] = true;
            --n;
        } else {
            member[k] = false;
            if (n >= 0) value -= binomial(k, n);
        }
    }
}

}  // namespace

int binomial(int n, int k) {
    if (k < 0 || n < k) return 0;
    int r = 1;
    for (int i = 1; i <= k; ++i) r = r * (n - k + i) / i;
    return r;
}

CubieCube::CubieCube() {
    for (int i = 0; i < 8; ++i) corners[i] = {std::uint8_t(i), 0};
    for (int i = 0; i < 12; ++i) edges[i] = {std::uint8_t(i), 0};
    for (int i = 0; i < 6; ++i) centers[i] = {std::uint8_t(i), 0};
}

const std::array<CubieCube, kAxes>& CubieCube::moveCubes() {
    static const std::array<CubieCube, kAxes> cubes = buildMoveCubes();
    return cubes;
}

const std::array<CubieCube, 4>& CubieCube::basicSymmetries() {
    static const std::array<CubieCube, 4> cubes = buildBasicSymmetries();
    return cubes;
}

void CubieCube::cornerProduct(const Piece* a, const Piece* b, Piece* out) {
    for (int i = 0; i < 8; ++i) {
        const Piece pb = b[i];
        const Piece pa = a[pb.c];
        out[i].c = pa.c;
        out[i].o = (pa.o == kNoOri || pb.o == kNoOri) ? kNoOri : mirroredSum(pa.o, pb.o, 3);
    }
}

void CubieCube::edgeProduct(const Piece* a, const Piece* b, Piece* out) {
    for (int i = 0; i < 12; ++i) {
        const Piece pb = b[i];
        const Piece pa = a[pb.c];
        int s = pa.o + pb.o;
        if (s == 2) s = 0;
        if (s >= 6) s = 6;
        out[i] = {pa.c, std::uint8_t(s)};
    }
}

void CubieCube::centerProduct(const Piece* a, const Piece* b, Piece* out) {
    for (int i = 0; i < 6; ++i) {
        const Piece pb = b[i];
        const Piece pa = a[pb.c];
        out[i] = {pa.c, mirroredSum(pa.o, pb.o, 4)};
    }
}

void CubieCube::cornerInverse(const Piece* a, Piece* out) {
    for (int i = 0; i < 8; ++i) out[a[i].c].c = std::uint8_t(i);
    for (int i = 0; i < 8; ++i) {
        int o = a[out[i].c].o;
        out[i].o = std::uint8_t(o < 3 ? (3 - o) % 3 : o);
    }
}

void CubieCube::edgeInverse(const Piece* a, Piece* out) {
    for (int i = 0; i < 12; ++i) out[a[i].c].c = std::uint8_t(i);
    for (int i = 0; i < 12; ++i) out[i].o = a[out[i].c].o;
}

void CubieCube::centerInverse(const Piece* a, Piece* out) {
    for (int i = 0; i < 6; ++i) out[a[i].c].c = std::uint8_t(i);
    for (int i = 0; i < 6; ++i) {
        int o = a[out[i].c].o;
        out[i].o = std::uint8_t(o < 4 ? (4 - o) % 4 : o);
    }
}

void CubieCube::multiplyCorners(const CubieCube& other) {
    std::array<Piece, 8> r;
    cornerProduct(corners.data(), other.corners.data(), r.data());
    corners = r;
}

void CubieCube::multiplyEdges(const CubieCube& other) {
    std::array<Piece, 12> r;
    edgeProduct(edges.data(), other.edges.data(), r.data());
    edges = r;
}

void CubieCube::multiplyCenters(const CubieCube& other) {
    std::array<Piece, 6> r;
    centerProduct(centers.data(), other.centers.data(), r.data());
    centers = r;
}

void CubieCube::multiply(const CubieCube& other) {
    multiplyCorners(other);
    multiplyEdges(other);
    multiplyCenters(other);
}

void CubieCube::applyAxis(int axis) { multiply(moveCubes()[axis]); }

void CubieCube::applyMove(int move) {
    for (int p = 0; p <= move % 3; ++p) applyAxis(move / 3);
}

void CubieCube::applyBasicSymmetry(int s) { multiply(basicSymmetries()[s]); }

CubieCube CubieCube::inverse() const {
    CubieCube r;
    cornerInverse(corners.data(), r.corners.data());
    edgeInverse(edges.data(), r.edges.data());
    centerInverse(centers.data(), r.centers.data());
    r.centersCount = centersCount;
    return r;
}

namespace {
template <std::size_t N>
bool evenInversions(const std::array<Piece, N>& p, int from, int to) {
    int count = 0;
    for (int i = from; i < to; ++i)
        for (int j = i + 1; j < to; ++j)
            if (p[i].c > p[j].c) ++count;
    return count % 2 == 0;
}
}  // namespace

bool CubieCube::cornerParityEven() const { return evenInversions(corners, 0, 8); }
bool CubieCube::edgeParityEven() const { return evenInversions(edges, 0, 12); }
bool CubieCube::sliceParityEven() const { return evenInversions(edges, 8, 12); }

int CubieCube::totalTwist() const {
    int s = 0;
    for (const auto& p : corners) {
        if (p.o == kNoOri) return 0;
        s += p.o;
    }
    return s % 3;
}

int CubieCube::totalFlip() const {
    int s = 0;
    for (const auto& p : edges) {
        if (p.o == kNoOri) return 0;
        s += p.o;
    }
    return s % 2;
}

bool CubieCube::centerSumEven() const {
    int s = 0;
    for (const auto& p : centers) s += p.o;
    return s % 2 == 0;
}

bool CubieCube::sideCenterSumDivisibleBy4() const {
    return (centers[R].o + centers[F].o + centers[L].o + centers[B].o) % 4 == 0;
}

bool CubieCube::cornersIdentity() const {
    for (int i = 0; i < 8; ++i)
        if (corners[i].c != i || corners[i].o != 0) return false;
    return true;
}

bool CubieCube::hasUndeterminedCubie() const {
    for (const auto& p : corners)
        if (p.c >= kNoCorner) return true;
    for (const auto& p : edges)
        if (p.c >= kNoEdge) return true;
    return false;
}

std::uint32_t CubieCube::edgePermFull() const {
    std::uint8_t v[12];
    for (int i = 0; i < 12; ++i) v[i] = edges[i].c;
    return permutationRank(v, 12);
}

void CubieCube::setEdgePermFull(std::uint32_t rank) {
    static const std::uint8_t pool[12] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    std::uint8_t out[12];
    permutationFromRank(rank, pool, 12, out);
    for (int i = 0; i < 12; ++i) edges[i].c = out[i];
}

int CubieCube::twist() const {
    int t = 0;
    for (int i = 0; i < 7; ++i) t = 3 * t + corners[i].o;
    return t;
}

void CubieCube::setTwist(int t) {
    int sum = 0;
    for (int i = 6; i >= 0; --i) {
        corners[i].o = std::uint8_t(t % 3);
        sum += t % 3;
        t /= 3;
    }
    corners[7].o = std::uint8_t((3 - sum % 3) % 3);
}

int CubieCube::flip() const {
    int f = 0;
    for (int i = 0; i < 11; ++i) f = 2 * f + edges[i].o;
    return f;
}

void CubieCube::setFlip(int f) {
    int sum = 0;
    for (int i = 10; i >= 0; --i) {
        edges[i].o = std::uint8_t(f % 2);
        sum += f % 2;
        f /= 2;
    }
    edges[11].o = std::uint8_t(sum % 2);
}

int CubieCube::slice() const { return sliceLike(edges.data(), 12, FR); }

void CubieCube::setSlice(int value) {
    bool member[12];
    sliceLikePositions(value, 12, member);
    int nextSlice = FR, nextOther = UR;
    for (int k = 0; k < 12; ++k) edges[k].c = std::uint8_t(member[k] ? nextSlice++ : nextOther++);
}

int CubieCube::sliceSorted() const {
    std::uint8_t e[4];
    int n = 0;
    for (int k = 0; k < 12; ++k)
        if (edges[k].c >= FR && edges[k].c <= BR) e[n++] = edges[k].c;
    return 24 * slice() + static_cast<int>(permutationRank(e, 4));
}

void CubieCube::setSliceSorted(int value) {
    setSlice(value / 24);
    static const std::uint8_t pool[4] = {FR, FL, BL, BR};
    std::uint8_t order[4];
    permutationFromRank(static_cast<std::uint32_t>(value % 24), pool, 4, order);
    int n = 0;
    for (int k = 0; k < 12; ++k)
        if (edges[k].c >= FR) edges[k].c = order[n++];
}

int CubieCube::cornerPerm() const {
    std::uint8_t v[8];
    for (int i = 0; i < 8; ++i) v[i] = corners[i].c;
    return static_cast<int>(permutationRank(v, 8));
}

void CubieCube::setCornerPerm(int rank) {
    static const std::uint8_t pool[8] = {0, 1, 2, 3, 4, 5, 6, 7};
    std::uint8_t out[8];
    permutationFromRank(static_cast<std::uint32_t>(rank), pool, 8, out);
    for (int i = 0; i < 8; ++i) corners[i].c = out[i];
}

int CubieCube::udEdgePerm() const {
    std::uint8_t v[8];
    for (int i = 0; i < 8; ++i) v[i] = edges[i].c;
    return static_cast<int>(permutationRank(v, 8));
}

void CubieCube::setUdEdgePerm(int rank) {
    static const std::uint8_t pool[8] = {0, 1, 2, 3, 4, 5, 6, 7};
    std::uint8_t out[8];
    permutationFromRank(static_cast<std::uint32_t>(rank), pool, 8, out);
    for (int i = 0; i < 8; ++i) edges[i].c = out[i];
    for (int i = 8; i < 12; ++i) edges[i].c = std::uint8_t(i);
}

int CubieCube::dCornerPos() const { return sliceLike(corners.data(), 8, DFR); }

void CubieCube::setDCornerPos(int value) {
    bool member[8];
    sliceLikePositions(value, 8, member);
    int nextD = DFR, nextU = URF;
    for (int k = 0; k < 8; ++k) corners[k].c = std::uint8_t(member[k] ? nextD++ : nextU++);
}

int CubieCube::centerOri() const {
    int v = 0;
    for (int i = 0; i < 6; ++i) v = 4 * v + (centers[i].o & 3);
    return v;
}

void CubieCube::setCenterOri(int value) {
    for (int i = 5; i >= 0; --i) {
        centers[i].o = std::uint8_t(value % 4);
        value /= 4;
    }
}

int CubieCube::centerParity() const {
    return 8 * (centers[B].o % 2) + 4 * (centers[L].o % 2) + 2 * (centers[F].o % 2) + (centers[R].o % 2);
}

CubieCube CubieCube::fromCoordinates(int cornerPerm, int twist, std::uint32_t edgePerm, int flip,
                                     int centerOri) {
    CubieCube c;
    c.setCornerPerm(cornerPerm);
    c.setTwist(twist);
    c.setEdgePermFull(edgePerm);
    c.setFlip(flip);
    c.setCenterOri(centerOri);
    return c;
}

}  // namespace tx
