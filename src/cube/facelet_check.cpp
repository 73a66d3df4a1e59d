// The editor's consistency check of one facelet and the global twist, flip and parity
// corrections that make a fully defined facelet cube a reachable one.
#include <utility>

#include "cube/facelet_cube.hpp"

namespace tx {

namespace {

// A corner or an edge position seen as a short list of facelet numbers.
struct PieceRef {
    bool corner = false;
    int index = 0;
    int size() const { return corner ? 3 : 2; }
    std::uint8_t facelet(int j) const { return corner ? kCornerFacelet[index][j] : kEdgeFacelet[index][j]; }
    // Colour cubie k shows on facelet j when it sits here with orientation o.
    int expected(int k, int o, int j) const {
        return corner ? kCornerColor[k][(j - o + 3) % 3] : kEdgeColor[k][(j + o) % 2];
    }
    int cubies() const { return corner ? 8 : 12; }
};

PieceRef pieceOf(int p) {
    const bool corner = (p % 9) % 2 == 0;
    if (corner) {
        for (int i = 0; i < 8; ++i)
            for (int j = 0; j < 3; ++j)
                if (kCornerFacelet[i][j] == p) return {true, i};
    }
    for (int i = 0; i < 12; ++i)
        for (int j = 0; j < 2; ++j)
            if (kEdgeFacelet[i][j] == p) return {false, i};
    return {};
}

// Colour with the mark dropped, or -1 for values that agree with nothing (6 and 13).
int colorOf(std::uint8_t v) {
    if (v < 6) return v;
    if (v >= kMarkOffset && v < kReferenceMark) return v - kMarkOffset;
    return -1;
}

bool isMarked(std::uint8_t v) { return v >= kMarkOffset && v < kReferenceMark; }

struct Match {
    int cubie = -1;
    int ori = 0;
};

// The cubie and orientation whose colours agree with at least `needed` facelets of the
// piece (all of them, or two for a corner with one open facelet).
Match matchPiece(const FaceletCube& fc, const PieceRef& piece, int needed) {
    for (int k = 0; k < piece.cubies(); ++k) {
        for (int o = 0; o < piece.size(); ++o) {
            int agree = 0;
            for (int j = 0; j < piece.size(); ++j)
                if (colorOf(fc.f[piece.facelet(j)]) == piece.expected(k, o, j)) ++agree;
            if (agree >= needed) return {k, o};
        }
    }
    return {};
}

// Other positions of the same kind that hold cubie k (two of their facelets agree).
template <class Fn>
void forEachDuplicate(const FaceletCube& fc, const PieceRef& piece, int k, Fn fn) {
    for (int q = 0; q < piece.cubies(); ++q) {
        if (q == piece.index) continue;
        const PieceRef other{piece.corner, q};
        for (int o = 0; o < other.size(); ++o) {
            int agree = 0;
            for (int j = 0; j < other.size(); ++j)
                if (colorOf(fc.f[other.facelet(j)]) == other.expected(k, o, j)) ++agree;
            if (agree >= 2) {
                fn(other);
                break;
            }
        }
    }
}

int countOpen(const FaceletCube& fc, const PieceRef& piece) {
    int n = 0;
    for (int j = 0; j < piece.size(); ++j) n += fc.f[piece.facelet(j)] == kUndefinedFacelet;
    return n;
}

// Step 1: a mark belongs to the whole piece or to none of it.
void marksFollowPiece(FaceletCube& fc, const PieceRef& piece, int p) {
    const std::uint8_t g = fc.f[p];
    for (int j = 0; j < piece.size(); ++j) {
        const int q = piece.facelet(j);
        std::uint8_t& v = fc.f[q];
        if (g == kReferenceMark) {
            if (q != p && v != kUndefinedFacelet) v = kUndefinedFacelet;
        } else if (g < 6) {
            if (v >= kMarkOffset) v = std::uint8_t(v - kMarkOffset);
        } else if (g != kUndefinedFacelet) {
            if (v < 6) v = std::uint8_t(v + kMarkOffset);
        }
    }
}

void clearPiece(FaceletCube& fc, const PieceRef& piece, int except) {
    for (int j = 0; j < piece.size(); ++j)
        if (piece.facelet(j) != except) fc.f[piece.facelet(j)] = kUndefinedFacelet;
}

// A duplicate of cubie k elsewhere: the checking form drops p, the editing form drops the
// other position (the piece just painted wins).
void resolveDuplicates(FaceletCube& fc, const PieceRef& piece, int k, int p, bool quiet) {
    forEachDuplicate(fc, piece, k, [&](const PieceRef& other) {
        if (quiet)
            fc.f[p] = kUndefinedFacelet;
        else
            clearPiece(fc, other, -1);
    });
}

// Step 2: a fully defined piece must show the colours of some cubie.
void checkDefinedPiece(FaceletCube& fc, const PieceRef& piece, int p, bool quiet) {
    const Match m = matchPiece(fc, piece, piece.size());
    if (m.cubie >= 0) {
        resolveDuplicates(fc, piece, m.cubie, p, quiet);
    } else if (quiet) {
        fc.f[p] = kUndefinedFacelet;
    } else {
        clearPiece(fc, piece, p);
    }
}

// Step 3: a corner with one open facelet is identified by the other two.
void completeCorner(FaceletCube& fc, const PieceRef& piece, int p, bool quiet) {
    const Match m = matchPiece(fc, piece, 2);
    if (m.cubie < 0) {
        if (quiet)
            fc.f[p] = kUndefinedFacelet;
        else
            clearPiece(fc, piece, p);
        return;
    }
    resolveDuplicates(fc, piece, m.cubie, p, quiet);
    if (quiet) return;
    for (int j = 0; j < 3; ++j) {
        if (fc.f[piece.facelet(j)] != kUndefinedFacelet) continue;
        const bool marked = isMarked(fc.f[piece.facelet((j + 1) % 3)]);
        fc.f[piece.facelet(j)] = std::uint8_t(piece.expected(m.cubie, m.ori, j) + (marked ? kMarkOffset : 0));
    }
}

}  // namespace

bool FaceletCube::hasPartialPiece() const {
    auto partial = [&](const PieceRef& piece) {
        bool open = false, defined = false;
        for (int j = 0; j < piece.size(); ++j) {
            const std::uint8_t v = f[piece.facelet(j)];
            open |= v == kUndefinedFacelet;
            defined |= v != kUndefinedFacelet && v != kReferenceMark;
        }
        return open && defined;
    };
    for (int i = 0; i < 8; ++i)
        if (partial({true, i})) return true;
    for (int i = 0; i < 12; ++i)
        if (partial({false, i})) return true;
    return false;
}

std::vector<std::string_view> correctionMessages(int corrections) {
    std::vector<std::string_view> texts;
    if (corrections & kCorrectedTwist) texts.push_back(kTwistErrorText);
    if (corrections & kCorrectedFlip) texts.push_back(kFlipErrorText);
    if (corrections & kCorrectedParity) texts.push_back(kParityErrorText);
    return texts;
}

int FaceletCube::globalCorrections() {
    // All three tests read the cube as it was before any correction.
    const CubieCube c = toCubieCube();
    int done = 0;
    const int t = c.totalTwist();
    if (t > 0) {
        const auto& urf = kCornerFacelet[URF];
        for (int i = 0; i < t; ++i) {
            const std::uint8_t u = f[urf[0]];
            f[urf[0]] = f[urf[1]];
            f[urf[1]] = f[urf[2]];
            f[urf[2]] = u;
        }
        done |= kCorrectedTwist;
    }
    if (c.totalFlip() == 1) {
        std::swap(f[kEdgeFacelet[UF][0]], f[kEdgeFacelet[UF][1]]);
        done |= kCorrectedFlip;
    }
    int openCorners = 0, openEdges = 0;
    for (const auto& p : c.corners) openCorners += p.c == kNoCorner;
    for (const auto& p : c.edges) openEdges += p.c == kNoEdge;
    if (openCorners <= 1 && openEdges <= 1 && c.cornerParityEven() != c.edgeParityEven()) {
        std::swap(f[kEdgeFacelet[UF][0]], f[kEdgeFacelet[DF][0]]);
        std::swap(f[kEdgeFacelet[UF][1]], f[kEdgeFacelet[DF][1]]);
        done |= kCorrectedParity;
    }
    return done;
}

bool FaceletCube::checkFacelet(int p, bool quiet, int* corrections) {
    if (corrections) *corrections = 0;
    if (p < 0 || p >= kFacelets) return true;
    const auto before = f;
    if (p % 9 != 4) {
        const PieceRef piece = pieceOf(p);
        marksFollowPiece(*this, piece, p);
        if (countOpen(*this, piece) == 0) checkDefinedPiece(*this, piece, p, quiet);
        if (piece.corner && countOpen(*this, piece) == 1) completeCorner(*this, piece, p, quiet);
    }
    if ((!quiet || p == kFacelets - 1) && !hasPartialPiece()) {
        const int done = globalCorrections();
        if (corrections) *corrections = done;
    }
    return f == before;
}

bool FaceletCube::checkAll(int* corrections) {
    bool unchanged = true;
    for (int p = 0; p < kFacelets; ++p)
        if (p % 9 != 4) unchanged &= checkFacelet(p, true, corrections);
    return unchanged;
}

}  // namespace tx
