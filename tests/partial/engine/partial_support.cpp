#include "partial_support.hpp"

#include <algorithm>

namespace tx::testing {

namespace {

bool isMarked(std::uint8_t v) { return v >= kMarkOffset && v < kReferenceMark; }

// The facelets of one piece after the turns: defined ones must show the piece solved.
template <std::size_t N>
bool pieceSolved(const FaceletCube& c, const std::array<std::uint8_t, N>& facelets,
                 const std::array<std::uint8_t, N>& home) {
    std::array<std::uint8_t, N> v{};
    for (std::size_t j = 0; j < N; ++j) v[j] = c.f[facelets[j]];
    if (std::count(v.begin(), v.end(), kUndefinedFacelet) == static_cast<long>(N)) return true;
    if (std::find(v.begin(), v.end(), kReferenceMark) != v.end()) return v[0] == kReferenceMark;
    if (isMarked(v[0])) {
        // Identity known, orientation open: the home colours in some rotation.
        for (std::size_t r = 0; r < N; ++r) {
            bool all = true;
            for (std::size_t j = 0; j < N; ++j) all &= v[j] - kMarkOffset == home[(j + r) % N];
            if (all) return true;
        }
        return false;
    }
    for (std::size_t j = 0; j < N; ++j)
        if (v[j] != kUndefinedFacelet && v[j] != home[j]) return false;
    return true;
}

bool definedSolved(const FaceletCube& c, int ignoredCenters) {
    for (int p = 0; p < 8; ++p)
        if (!pieceSolved(c, kCornerFacelet[p], kCornerColor[p])) return false;
    for (int p = 0; p < 12; ++p)
        if (!pieceSolved(c, kEdgeFacelet[p], kEdgeColor[p])) return false;
    if (c.centersCount)
        for (int k = 0; k < 6; ++k)
            if (!(ignoredCenters & ignoredCenterBits(k)) && c.centerOri[k] != 0) return false;
    return true;
}

// The rules on successive moves, as the search is to keep them.
bool mayFollow(int prevAxis, int prevPower, int axis, int power, bool slice) {
    if (prevAxis < 0) return true;
    if (axis == prevAxis) return false;
    if (axis < 3 && prevAxis == axis + 3) return false;  // U after D, R after L, F after B
    if (slice) {
        const bool face = axis < 6, prevFace = prevAxis < 6;
        if (!face && prevFace && prevAxis % 3 == axis - 6) return false;  // slice after a face of its axis
        if (face && !prevFace && axis % 3 == prevAxis - 6) return false;  // face after the slice of its axis
        if (axis >= 3 && face && prevAxis == axis - 3 && power + prevPower == 4) return false;  // a slice move
    }
    return true;
}

void turnMove(FaceletCube& c, int axis, int power) {
    if (axis < 6) {
        for (int i = 0; i < power; ++i) c.turn(axis);
        return;
    }
    // A slice pair as the cubie model has it: the face and, the other way, its opposite face.
    for (int i = 0; i < power; ++i) c.turn(axis - 6);
    for (int i = 0; i < 4 - power; ++i) c.turn(axis - 3);
}

struct Brute {
    int maxDepth;
    bool slice;
    unsigned excluded;
    int ignored;
    std::vector<std::vector<std::string>> found;
    std::vector<Move> path;

    void walk(const FaceletCube& c, int prevAxis, int prevPower) {
        const int depth = static_cast<int>(path.size());
        if (depth > 0 && definedSolved(c, ignored)) found[depth - 1].push_back(plainMoves(path));
        if (depth == maxDepth) return;
        for (int axis = 0; axis < (slice ? 9 : 6); ++axis) {
            if (!slice && axis < 6 && (excluded >> axis & 1)) continue;
            for (int power = 1; power <= 3; ++power) {
                if (!mayFollow(prevAxis, prevPower, axis, power, slice)) continue;
                FaceletCube next = c;
                turnMove(next, axis, power);
                path.push_back({static_cast<std::uint8_t>(axis), static_cast<std::uint8_t>(power)});
                walk(next, axis, power);
                path.pop_back();
            }
        }
    }
};

}  // namespace

std::string plainMoves(const std::vector<Move>& moves) {
    static const char* const kNames[9] = {"U", "R", "F", "D", "L", "B", "Us", "Rs", "Fs"};
    std::string s;
    for (const Move& m : moves) {
        if (!s.empty()) s += ' ';
        s += kNames[m.axis];
        if (m.power == 2) s += '2';
        if (m.power == 3) s += '\'';
    }
    return s;
}

bool solvesDefinedFacelets(const FaceletCube& given, const std::string& text, int ignoredCenters) {
    FaceletCube c = given;
    applyManeuver(c, text);
    return definedSolved(c, ignoredCenters);
}

std::vector<std::vector<std::string>> bruteForce(const FaceletCube& given, int maxDepth, bool slice,
                                                 unsigned excludedFaces, int ignoredCenters) {
    Brute b{maxDepth, slice, excludedFaces, ignoredCenters, {}, {}};
    b.found.resize(maxDepth);
    b.walk(given, -1, 0);
    for (auto& depth : b.found) std::sort(depth.begin(), depth.end());
    return b.found;
}

std::vector<std::vector<std::string>> searchUpTo(const FaceletCube& given, int maxDepth, const IncompOptions& options) {
    std::vector<std::vector<std::string>> found(maxDepth);
    IncompSearch search(given.toCubieCube(), options, incompTables(options.sliceMoves));
    search.run(maxDepth, [&](const IncompReport& r) {
        if (r.kind == IncompReport::Kind::Found) found[r.depth - 1].push_back(plainMoves(r.moves));
        return true;
    });
    for (auto& depth : found) std::sort(depth.begin(), depth.end());
    return found;
}

}  // namespace tx::testing
