#pragma once
// The cube as a permutation with orientations of 8 corners, 12 edges and 6 centres.
// A * B means B applied after A; moves and symmetries multiply on the right.
#include <array>
#include <cstdint>

namespace tx {

enum Corner : int { URF, UFL, ULB, UBR, DFR, DLF, DBL, DRB };
enum Edge : int { UR, UF, UL, UB, DR, DF, DL, DB, FR, FL, BL, BR };
enum Face : int { U, R, F, D, L, B };

struct Piece {
    std::uint8_t c = 0;  // cubie
    std::uint8_t o = 0;  // orientation
    bool operator==(const Piece&) const = default;
};

constexpr std::uint8_t kNoCorner = 8;  // undetermined corner cubie
constexpr std::uint8_t kNoEdge = 12;   // undetermined edge cubie
constexpr std::uint8_t kNoOri = 6;     // undetermined orientation

constexpr int kAxes = 9;       // U R F D L B Us Rs Fs
constexpr int kMoves = 27;     // 3 * axis + power - 1
constexpr int kFaceMoves = 18;

class CubieCube {
public:
    std::array<Piece, 8> corners{};
    std::array<Piece, 12> edges{};
    std::array<Piece, 6> centers{};
    bool centersCount = false;

    CubieCube();  // identity
    // Sets corner permutation, twist, full edge permutation, flip and centre orientations.
    static CubieCube fromCoordinates(int cornerPerm, int twist, std::uint32_t edgePerm, int flip,
                                     int centerOri);

    bool operator==(const CubieCube& o) const {
        return corners == o.corners && edges == o.edges && centers == o.centers;
    }

    // this := this * other
    void multiply(const CubieCube& other);
    void multiplyCorners(const CubieCube& other);
    void multiplyEdges(const CubieCube& other);
    void multiplyCenters(const CubieCube& other);
    void applyAxis(int axis);          // one quarter turn of axis 0..8
    void applyMove(int move);          // move index 0..26
    void applyBasicSymmetry(int s);    // basic symmetry 0..3
    CubieCube inverse() const;

    static void cornerProduct(const Piece* a, const Piece* b, Piece* out);
    static void edgeProduct(const Piece* a, const Piece* b, Piece* out);
    static void centerProduct(const Piece* a, const Piece* b, Piece* out);
    static void cornerInverse(const Piece* a, Piece* out);
    static void edgeInverse(const Piece* a, Piece* out);
    static void centerInverse(const Piece* a, Piece* out);

    // Parities and sums.
    bool cornerParityEven() const;
    bool edgeParityEven() const;
    bool sliceParityEven() const;
    int totalTwist() const;  // 0 when an orientation is undetermined
    int totalFlip() const;   // 0 when an orientation is undetermined
    bool centerSumEven() const;
    bool sideCenterSumDivisibleBy4() const;
    bool cornersIdentity() const;
    bool hasUndeterminedCubie() const;

    // Full edge permutation rank 0..479001599.
    std::uint32_t edgePermFull() const;
    void setEdgePermFull(std::uint32_t rank);

    // Search coordinates.
    int twist() const;
    void setTwist(int twist);
    int flip() const;
    void setFlip(int flip);
    int slice() const;
    void setSlice(int slice);
    int sliceSorted() const;
    void setSliceSorted(int value);
    int cornerPerm() const;
    void setCornerPerm(int rank);
    int udEdgePerm() const;
    void setUdEdgePerm(int rank);
    int dCornerPos() const;
    void setDCornerPos(int value);
    int centerOri() const;
    void setCenterOri(int value);
    int centerParity() const;
    int cornerParity() const { return cornerParityEven() ? 1 : 0; }
    int flipSlice() const { return 2048 * slice() + flip(); }

    // The nine axis cubes and the four basic symmetry cubes.
    static const std::array<CubieCube, kAxes>& moveCubes();
    static const std::array<CubieCube, 4>& basicSymmetries();
};

// Binomial coefficient, 0 when n < k.
int binomial(int n, int k);

// Rank of values[0..n-1] by x = b * (x + #{i < b : v[i] > v[b]}) for b = n-1 .. 1.
template <class T>
std::uint32_t permutationRank(const T* values, int n) {
    std::uint32_t x = 0;
    for (int b = n - 1; b >= 1; --b) {
        int larger = 0;
        for (int i = 0; i < b; ++i)
            if (values[i] > values[b]) ++larger;
        x = static_cast<std::uint32_t>(b) * (x + static_cast<std::uint32_t>(larger));
    }
    return x;
}

// Inverse of permutationRank over the sorted set `pool` (ascending, n values).
template <class T>
void permutationFromRank(std::uint32_t rank, const T* pool, int n, T* out) {
    int digits[12] = {};
    for (int j = 0; j < n; ++j) {
        digits[j] = static_cast<int>(rank % static_cast<std::uint32_t>(j + 1));
        rank /= static_cast<std::uint32_t>(j + 1);
    }
    bool used[12] = {};
    for (int k = n - 1; k >= 0; --k) {
        // the (digits[k] + 1)-th largest value not yet used
        int skip = digits[k];
        for (int i = n - 1; i >= 0; --i) {
            if (used[i]) continue;
            if (skip-- == 0) {
                used[i] = true;
                out[k] = pool[i];
                break;
            }
        }
    }
}

}  // namespace tx
