// pieces: converts between the two text forms of a cube, the 54-letter facelet string and the
// 48-letter piece list (edges UF UR UB UL DF DR DB DL FR FL BR BL, corners UFR URB UBL ULF
// DRF DFL DLB DBR). The number of face letters on a line tells which form it is; a cube that
// cannot be solved is refused with the reason check gives.
#include <optional>
#include <string>

#include "command.hpp"
#include "cube/cube_input.hpp"

namespace tx::cli {
namespace {

constexpr const char* kName = "pieces";
constexpr const char* kUsage =
    "usage: tesserix-cli pieces [TEXT...|-]\n"
    "A facelet string (54 face letters) is printed as a piece list, a piece list (48 face\n"
    "letters, in the order UF UR UB UL DF DR DB DL FR FL BR BL UFR URB UBL ULF DRF DFL DLB\n"
    "DBR) as a facelet string. Other characters are ignored. Reads stdin, one per line,\n"
    "when no TEXT is given. A cube that cannot be solved is refused with the reason check\n"
    "gives (on stderr); the exit code is then 1.\n";

// The other form of one line, or nullopt and the reason.
std::optional<std::string> convert(const std::string& line, std::string& error) {
    const CubeText read = readCube(line);
    if (read.form == CubeForm::Maneuver)
        error = "expected a facelet string or a piece list";
    else if (read.letters != kFacelets && read.letters != 48)
        error = "expected 54 face letters (facelet string) or 48 (piece list), found " + std::to_string(read.letters);
    else if (!read.ok())
        error = read.error;
    if (!error.empty()) return std::nullopt;
    if (read.form == CubeForm::PieceList) return read.cube.faceletString();
    std::string list = read.cube.pieceList();
    if (!list.empty() && list.back() == ' ') list.pop_back();
    return list;
}

int runPieces(const Args& args) { return convertLines(kName, args, convert); }

Register reg(kName, "convert between facelet strings and piece lists", kUsage, runPieces);

}  // namespace
}  // namespace tx::cli
