#pragma once
// Which move may follow which in a search: the rules on successive axes, and the one rule of
// slice mode that looks at powers.
namespace tx {

// Not the same axis twice, opposite faces only in the order U before D (R before L, F before
// B), and in slice mode no slice move next to a face move of its axis. prevAxis < 0: the first
// move.
constexpr bool axisMayFollow(int axis, int prevAxis, bool sliceMode) {
    if (prevAxis < 0) return true;
    if (axis == prevAxis) return false;
    if (axis < 3 && prevAxis == axis + 3) return false;
    if (sliceMode) {
        if (axis < 6 && prevAxis == axis % 3 + 6) return false;
        if (axis >= 6 && (prevAxis == axis - 6 || prevAxis == axis - 3)) return false;
    }
    return true;
}

// A face move after the opposite face's move with powers adding up to a full turn (U then D',
// R2 then L2, ...) is the slice move of that axis, which slice mode makes as one move: the
// pair is passed over.
constexpr bool makesSliceMove(int axis, int power, int prevAxis, int prevPower) {
    return axis >= 3 && axis < 6 && prevAxis == axis - 3 && power + prevPower == 4;
}

}  // namespace tx
