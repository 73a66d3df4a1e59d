// Reading maneuver texts: the reader that applies a text to a facelet cube, the main window's
// maneuver field with its groups, inverses, face-turn counting, key letters and the length mark.
#include <algorithm>
#include <array>
#include <climits>
#include <string>

#include "cube/notation.hpp"
#include "platform/text.hpp"

namespace tx {

namespace {

// Facelet turn code of a move letter, or -1: faces and middle layers upper case, the
// whole-cube rotations lower case.
int turnCode(char ch) {
    switch (ch) {
        case 'U': return U;
        case 'R': return R;
        case 'F': return F;
        case 'D': return D;
        case 'L': return L;
        case 'B': return B;
        case 'x': return kTurnX;
        case 'y': return kTurnY;
        case 'z': return kTurnZ;
        case 'E': return kTurnE;
        case 'M': return kTurnM;
        case 'S': return kTurnS;
        default: return -1;
    }
}

int powerOf(char ch) { return ch == '\'' || ch == '3' ? 3 : ch == '2' ? 2 : 1; }

void turnTimes(FaceletCube& cube, int code, int times) {
    for (int t = 0; t < times; ++t) cube.turn(code);
}

bool isPieceList(std::string_view text) {
    int count[6] = {};
    for (char ch : text) {
        const int c = colorOfLetter(ch);
        if (c >= 0) ++count[c];
    }
    for (int n : count)
        if (n != 8) return false;
    return true;
}

bool sameState(const FaceletCube& a, const FaceletCube& b) { return a.f == b.f && a.centerOri == b.centerOri; }

// The field's normalisation before groups are read.
std::string normaliseField(std::string_view text) {
    constexpr char kSuperscriptTwo = '\xB2';
    std::string s(trim(text));
    s += "  ";
    // A power written before the slice suffix moves behind it: U2s -> Us2. Only the lower-case
    // suffixes are moved: the reader knows no upper-case suffix, and moving an upper-case S
    // would turn R2S (R2 then S) into R then S2.
    for (std::size_t i = 1; i + 1 < s.size(); ++i) {
        const char prev = s[i - 1];
        if ((s[i] == 'a' || s[i] == 's') && (prev == '\'' || prev == '3' || prev == '2' || prev == kSuperscriptTwo))
            std::swap(s[i - 1], s[i]);
    }
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char ch = s[i];
        if (ch == '-' && i + 1 < s.size() && s[i + 1] == '1') {
            out += '3';  // "-1" becomes "'", which becomes "3"
            ++i;
        } else if (ch == kSuperscriptTwo) {
            out += '2';
        } else if (ch == '\'' || ch == '-') {
            out += '3';
        } else {
            out += ch;
        }
    }
    return out;
}

int clampToInt(long long n) { return static_cast<int>(std::min<long long>(n, INT_MAX)); }

// What a maneuver text does to any facelet cube, found once so that repeating the text costs
// one pass over the facelets instead of reading and turning it again. Every turn moves the
// facelet values, renames colours (and marked colours) the same way and carries the centre
// orientations along with the renaming, adding quarter turns; so does any sequence of turns.
class TextEffect {
public:
    explicit TextEffect(std::string_view text) {
        // Values from kReferenceMark + 1 on are never renamed, so they show where each facelet
        // goes; the solved cube shows the renaming and the added centre turns.
        FaceletCube places;
        for (int i = 0; i < kFacelets; ++i) places.f[i] = std::uint8_t(kFirstPlace + i);
        applyManeuver(places, text);
        for (int j = 0; j < kFacelets; ++j) to_[places.f[j] - kFirstPlace] = std::uint8_t(j);
        FaceletCube colours;
        applyManeuver(colours, text);
        for (int v = 0; v < 256; ++v) value_[v] = std::uint8_t(v);
        for (int c = 0; c < 6; ++c) {
            const std::uint8_t renamed = colours.f[to_[9 * c + 4]];
            value_[c] = renamed;
            value_[kMarkOffset + c] = std::uint8_t(kMarkOffset + renamed);
            centreTo_[c] = renamed;
        }
        for (int c = 0; c < 6; ++c) centreAdd_[c] = colours.centerOri[centreTo_[c]];
    }

    void applyTo(FaceletCube& cube) const {
        cube.previous = cube.f;
        for (int i = 0; i < kFacelets; ++i) cube.f[to_[i]] = value_[cube.previous[i]];
        const auto old = cube.centerOri;
        for (int c = 0; c < 6; ++c) cube.centerOri[centreTo_[c]] = std::uint8_t((old[c] + centreAdd_[c]) % 4);
    }

private:
    static constexpr int kFirstPlace = kReferenceMark + 1;
    static_assert(kFirstPlace + kFacelets <= 256);
    std::array<std::uint8_t, kFacelets> to_{};   // facelet i's value goes to to_[i]
    std::array<std::uint8_t, 256> value_{};      // and is renamed to value_[v]
    std::array<std::uint8_t, 6> centreTo_{};     // centre c's orientation goes to centreTo_[c]
    std::array<std::uint8_t, 6> centreAdd_{};    // plus these quarter turns
};

// Applies `group` as often as the decimal `digits` say (once when there are none). A text
// applied over and over comes back to the start after a few thousand times at most, so a huge
// repeat count is reduced by that period instead of being carried out.
long long applyRepeated(FaceletCube& cube, std::string_view group, std::string_view digits) {
    if (digits.empty()) return applyManeuver(cube, group).moves;
    while (digits.size() > 1 && digits.front() == '0') digits.remove_prefix(1);
    const bool huge = digits.size() > 12;
    long long count = 0;
    if (!huge)
        for (char d : digits) count = 10 * count + (d - '0');
    if (!huge && count == 0) return 0;
    const FaceletCube start = cube;
    const ApplyResult first = applyManeuver(cube, group);
    if (first.pieceList) return 0;  // a cube description: applying it again changes nothing
    if (!huge && count == 1) return first.moves;
    const TextEffect effect(group);
    for (long long n = 1; huge || n < count; ++n) {
        if (sameState(cube, start)) {
            // The period is n: only (count mod n) further applications matter.
            long long rest = 0;
            for (char d : digits) rest = (10 * rest + (d - '0')) % n;
            for (long long k = 0; k < rest; ++k) effect.applyTo(cube);
            break;
        }
        effect.applyTo(cube);
    }
    return huge ? (first.moves > 0 ? LLONG_MAX / 2 : 0) : first.moves * count;
}

}  // namespace

ApplyResult applyManeuver(FaceletCube& cube, std::string_view text) {
    ApplyResult result;
    if (const auto comment = text.find("//"); comment != std::string_view::npos)
        text = trim(text.substr(0, comment));
    if (isPieceList(text)) {
        cube.readPieceList(text);
        result.pieceList = true;
        return result;
    }
    std::string s(text);
    s += ' ';
    for (std::size_t i = 0; i + 1 < s.size(); ++i) {
        const int code = turnCode(s[i]);
        if (code < 0) continue;
        const char next = s[i + 1];
        // Slice and antislice pairs exist for the six faces only.
        if (code < 6 && (next == 's' || next == 'a')) {
            const int p = powerOf(i + 2 < s.size() ? s[i + 2] : ' ');
            const int opposite = code < 3 ? code + 3 : code - 3;
            turnTimes(cube, code, p);
            turnTimes(cube, opposite, next == 's' ? 4 - p : p);
            ++result.moves;
            continue;
        }
        turnTimes(cube, code, powerOf(next));
        if (code != kTurnX && code != kTurnY && code != kTurnZ) ++result.moves;
    }
    return result;
}

int applyManeuverField(FaceletCube& cube, std::string_view text) {
    constexpr std::size_t kGroupLimit = 500;
    std::string rest = normaliseField(text);
    long long moves = 0;
    for (std::size_t open; (open = rest.find('(')) != std::string::npos;) {
        moves += applyManeuver(cube, std::string_view(rest).substr(0, open)).moves;
        rest = rest.substr(open + 1, kGroupLimit);
        const std::size_t close = rest.find(')');
        if (close == std::string::npos) continue;
        std::size_t end = close + 1;
        while (end < rest.size() && rest[end] >= '0' && rest[end] <= '9') ++end;
        const std::string_view view(rest);
        moves = std::min<long long>(moves + applyRepeated(cube, view.substr(0, close),
                                                          view.substr(close + 1, end - close - 1)),
                                    INT_MAX);
        rest = rest.substr(end);
    }
    moves += applyManeuver(cube, rest).moves;
    return clampToInt(moves);
}

std::string inverseManeuver(std::string_view text) {
    if (text.empty()) return {};
    auto isMoveLetter = [](char ch) { return std::string_view("BDEFLMRSUxyz").find(ch) != std::string_view::npos; };
    auto isFace = [](char ch) { return std::string_view("URFDLB").find(ch) != std::string_view::npos; };
    auto at = [&](std::size_t i) { return i < text.size() ? text[i] : ' '; };
    std::string out;
    for (std::size_t i = text.size(); i-- > 0;) {
        const char ch = text[i];
        if (!isMoveLetter(ch)) continue;
        out += ch;
        // A slice or antislice pair keeps its suffix: its inverse is the pair turned back.
        std::size_t powerAt = i + 1;
        if (isFace(ch) && (at(i + 1) == 's' || at(i + 1) == 'a')) {
            out += at(i + 1);
            ++powerAt;
        }
        const int p = powerOf(at(powerAt));  // past the end reads as a blank: a plain turn
        out += p == 3 ? " " : p == 2 ? "2 " : "' ";
    }
    // The length mark ends the maneuver: the last parenthesis without a move in it.
    // Parentheses holding moves are no mark: the reader applies those moves, so they are
    // inverted above.
    std::string_view mark;
    for (auto open = text.find('('); open != std::string_view::npos; open = text.find('(', open + 1)) {
        const auto close = text.find(')', open);
        const std::string_view inside =
            text.substr(open, close == std::string_view::npos ? std::string_view::npos : close - open + 1);
        if (std::none_of(inside.begin(), inside.end(), isMoveLetter)) mark = inside;
    }
    if (!mark.empty()) {
        out += ' ';
        out += mark;
    }
    return out;
}

std::string inverseOptimalText(std::string_view text) {
    if (text.find("Status") != std::string_view::npos) return std::string(text);
    return inverseManeuver(text);
}

int countFaceTurns(std::string_view text) {
    int n = 0;
    for (std::size_t i = 0; i < text.size() && text[i] != '/'; ++i) {
        if (std::string_view("BDEFLMRSU").find(text[i]) == std::string_view::npos) continue;
        const char next = i + 1 < text.size() ? text[i + 1] : ' ';
        n += (next == 'a' || next == 's') ? 2 : 1;
    }
    return n;
}

std::string keyLetters(std::string_view text) {
    // Keys of the quarter turn and of the quarter turn back, for U R F D L B.
    static constexpr char kTurnKey[6] = {'j', 'i', 'h', 's', 'd', 'w'};
    static constexpr char kBackKey[6] = {'f', 'k', 'g', 'l', 'e', 'o'};
    const std::string s = std::string(text) + "   ";
    std::string keys;
    for (std::size_t i = 0; i + 1 < s.size(); ++i) {
        const int face = turnCode(s[i]);
        if (face < 0 || face >= 6) continue;
        const char next = s[i + 1];
        if (next == ' ') {
            keys += kTurnKey[face];
        } else if (next == '2') {
            keys += kTurnKey[face];
            keys += kTurnKey[face];
        } else {
            keys += kBackKey[face];
        }
    }
    return keys;
}

std::string cutLengthMark(std::string_view text) {
    const auto mark = text.find(" (");
    if (mark == std::string_view::npos) return std::string(text);
    const std::size_t from = mark == 0 ? 0 : mark - 1;
    std::string s(text);
    s.erase(from, 10);
    return s;
}

}  // namespace tx
