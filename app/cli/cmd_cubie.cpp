// cubie: shows which cubie, in which orientation, sits at every corner and edge position of
// a cube given as text, with its twist, flip and permutation parity.
#include <optional>
#include <string>

#include "command.hpp"
#include "cube/cube_input.hpp"

namespace tx::cli {
namespace {

constexpr const char* kName = "cubie";
constexpr const char* kUsage =
    "usage: tesserix-cli cubie [CUBE...|-]\n"
    "For each cube (a facelet string, a piece list or @ and a maneuver; stdin, one per line,\n"
    "when none is given) prints the cubie\n"
    "and orientation at the corner positions URF UFL ULB UBR DFR DLF DBL DRB and the edge\n"
    "positions UR UF UL UB DR DF DL DB FR FL BL BR, then the total twist, the total flip\n"
    "and whether corner and edge permutation parities agree (even) or not (odd).\n"
    "Cubes with impossible or repeated pieces are rejected; try \"check\" on them.\n";
constexpr const char* kCornerNames[8] = {"URF", "UFL", "ULB", "UBR", "DFR", "DLF", "DBL", "DRB"};
constexpr const char* kEdgeNames[12] = {"UR", "UF", "UL", "UB", "DR", "DF", "DL", "DB", "FR", "FL", "BL", "BR"};

std::string pieceText(const Piece& p, int cubies, const char* const* names) {
    std::string s = p.c < cubies ? names[p.c] : "?";
    s += p.o == kNoOri ? '?' : char('0' + p.o);
    return s;
}

std::string describe(const CubieCube& c) {
    std::string s;
    for (int i = 0; i < 8; ++i) {
        s += pieceText(c.corners[i], 8, kCornerNames);
        s += ' ';
    }
    s += '|';
    for (int i = 0; i < 12; ++i) {
        s += ' ';
        s += pieceText(c.edges[i], 12, kEdgeNames);
    }
    s += " | twist ";
    s += std::to_string(c.totalTwist());
    s += " flip ";
    s += std::to_string(c.totalFlip());
    s += c.cornerParityEven() == c.edgeParityEven() ? " parity even" : " parity odd";
    return s;
}

// The cubie reading of one facelet string, or nullopt and the reason.
std::optional<std::string> cubieLine(const std::string& line, std::string& error) {
    // A twisted or flipped cube is shown too: only the text must describe a cube.
    const CubeText read = parseCubeText(line);
    if (!read.ok()) {
        error = read.error;
        return std::nullopt;
    }
    // Pieces whose colours fit no cubie, or a cubie seen twice, have no cubie reading.
    FaceletCube probe = read.cube;
    probe.checkAll();
    if (!probe.isComplete()) {
        error = "Cube cannot be solved. Missing or wrong facelet colors!";
        return std::nullopt;
    }
    return describe(read.cube.toCubieCube());
}

int runCubie(const Args& args) { return convertLines(kName, args, cubieLine); }

Register reg(kName, "show the cubies of facelet strings", kUsage, runCubie);

}  // namespace
}  // namespace tx::cli
