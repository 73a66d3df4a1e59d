// The written form of the searches' maneuvers.
#include <array>
#include <cstring>

#include "cube/notation.hpp"

namespace tx {

namespace {

const char* powerText(int power) { return power == 1 ? " " : power == 2 ? "2 " : "' "; }

using FaceMap = std::array<int, 6>;

void applyMap(FaceMap& q, const FaceMap& t) {
    for (int& v : q) v = t[v];
}

}  // namespace

std::string writeManeuver(const Move* moves, int count, char metricLetter, bool sliceMode, bool star) {
    static const char* const kAxisNames[9] = {"U", "R", "F", "D", "L", "B", "Us", "Rs", "Fs"};
    static const char kFaces[6] = {'U', 'R', 'F', 'D', 'L', 'B'};
    static const char kMiddle[3] = {'E', 'M', 'S'};
    static const FaceMap kAfter[3] = {{0, 5, 1, 3, 2, 4}, {2, 1, 3, 5, 4, 0}, {1, 3, 2, 4, 0, 5}};
    static const FaceMap kY = {0, 2, 4, 3, 5, 1}, kX = {5, 1, 0, 2, 4, 3}, kZ = {1, 3, 2, 4, 0, 5};
    std::string out;
    if (!sliceMode) {
        for (int i = 0; i < count; ++i) out += std::string(kAxisNames[moves[i].axis]) + powerText(moves[i].power);
    } else {
        FaceMap q = {0, 1, 2, 3, 4, 5};
        for (int i = 0; i < count; ++i) {
            const int axis = moves[i].axis, power = moves[i].power;
            if (axis < 6) {
                out += kFaces[q[axis]];
                out += powerText(power);
                continue;
            }
            int c = q[axis - 6];
            bool inverted = false;
            if (c >= 3) {
                inverted = true;
                c -= 3;
            }
            if (c == 2) inverted = !inverted;
            const int p = inverted ? 4 - power : power;
            out += kMiddle[c];
            out += powerText(p);
            for (int k = 0; k < p; ++k) applyMap(q, kAfter[c]);
        }
        // Whole-cube rotations that bring the centres home.
        auto rotate = [&](const FaceMap& r, char letter, auto done) {
            int n = 0;
            while (!done() && n < 4) {
                applyMap(q, r);
                ++n;
            }
            out += letter;
            out += powerText(n);
        };
        for (int guard = 0; guard < 3; ++guard) {
            if (q[0] == 0 && q[1] == 1) break;
            if (q[0] == 0) {
                rotate(kY, 'y', [&] { return q[1] == 1; });
                break;
            }
            if (q[1] == 1) {
                rotate(kX, 'x', [&] { return q[0] == 0; });
                break;
            }
            if (q[2] == 2) {
                rotate(kZ, 'z', [&] { return q[0] == 0; });
                break;
            }
            rotate(kX, 'x', [&] { return q[0] == 0 || q[2] == 2; });
        }
    }
    out += " (" + std::to_string(count) + metricLetter + (star ? "*)" : ")");
    return out;
}

// Letter substitution of each basic symmetry; X, Y, Z and a, e, m are rotations and middle
// layers turned the other way, resolved in a second pass.
std::string transformManeuver(std::string_view text, int t) {
    static const char kFrom[] = "URFDLBEMSxyz";
    static const char* const kTo[4] = {"RFULBDMaezxy", "DLFURBemSXYz", "UFLDBREaMzyX", "ULFDRBEmSXyz"};
    auto isMove = [](char c) { return std::string_view("URFDLBEMSxyzXYZaem").find(c) != std::string_view::npos; };
    // The slice and antislice suffixes of a face pair (Us, Ra2) stand in for themselves while the
    // text is rewritten: an "a" must not be read as a mark, and a power is inverted behind the
    // suffix, so the reflection turns Us into Us' (U D' into U' D) rather than into U' s.
    constexpr char kSliceHold = '\x01', kAntisliceHold = '\x02';
    auto isPairSuffix = [](char c) { return c == 's' || c == 'a'; };
    std::string s;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const char* p = c ? std::strchr(kFrom, c) : nullptr;
        s += p ? kTo[t][p - kFrom] : c;
        if (p && p - kFrom < 6 && i + 1 < text.size() && isPairSuffix(text[i + 1]))
            s += text[++i] == 's' ? kSliceHold : kAntisliceHold;
    }
    s += ' ';
    auto invertPowers = [&](const std::string& in, auto shouldInvert) {
        std::string out;
        for (std::size_t i = 0; i < in.size(); ++i) {
            char c = in[i];
            if (!shouldInvert(c)) {
                out += c;
                continue;
            }
            out += c;
            if (i + 1 < in.size() && (in[i + 1] == kSliceHold || in[i + 1] == kAntisliceHold)) out += in[++i];
            char next = i + 1 < in.size() ? in[i + 1] : ' ';
            if (next == '\'' || next == '3') {
                ++i;  // a quarter turn back becomes a plain turn
            } else if (next != '2') {
                out += '\'';
            }
        }
        return out;
    };
    if (t == 3) s = invertPowers(s, isMove);
    // Resolve the marks, each with its power inverted.
    std::string resolved = invertPowers(s, [](char c) { return c == 'X' || c == 'Y' || c == 'Z' || c == 'a' || c == 'e' || c == 'm'; });
    for (char& c : resolved) {
        switch (c) {
            case 'X': c = 'x'; break;
            case 'Y': c = 'y'; break;
            case 'Z': c = 'z'; break;
            case 'a': c = 'S'; break;
            case 'e': c = 'E'; break;
            case 'm': c = 'M'; break;
            case kSliceHold: c = 's'; break;
            case kAntisliceHold: c = 'a'; break;
            default: break;
        }
    }
    auto first = resolved.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    auto last = resolved.find_last_not_of(' ');
    return resolved.substr(first, last - first + 1);
}

}  // namespace tx
