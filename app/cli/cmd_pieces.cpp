// pieces: converts between the two text forms of a cube, the 54-letter facelet string and the
// 48-letter piece list (edges UF UR UB UL DF DR DB DL FR FL BR BL, corners UFR URB UBL ULF
// DRF DFL DLB DBR). The number of face letters on a line tells which form it is.
#include <optional>
#include <string>

#include "command.hpp"
#include "facelet_input.hpp"

namespace tx::cli {
namespace {

constexpr const char* kName = "pieces";
constexpr const char* kUsage =
    "usage: tesserix-cli pieces [TEXT...|-]\n"
    "A facelet string (54 face letters) is printed as a piece list, a piece list (48 face\n"
    "letters, in the order UF UR UB UL DF DR DB DL FR FL BR BL UFR URB UBL ULF DRF DFL DLB\n"
    "DBR) as a facelet string. Other characters are ignored. Reads stdin, one per line,\n"
    "when no TEXT is given.\n";

// The other form of one line, or nullopt and the reason.
std::optional<std::string> convert(const std::string& line, std::string& error) {
    const int letters = countFaceLetters(line);
    if (letters == 48) {
        FaceletCube cube;
        cube.readPieceList(line);
        return cube.faceletString();
    }
    if (letters != kFacelets) {
        error = "expected 54 face letters (facelet string) or 48 (piece list), found " + std::to_string(letters);
        return std::nullopt;
    }
    const auto cube = parseFaceletString(line, error);
    if (!cube) return std::nullopt;
    std::string list = cube->pieceList();
    if (!list.empty() && list.back() == ' ') list.pop_back();
    return list;
}

int runPieces(const Args& args) { return convertLines(kName, args, convert); }

Register reg(kName, "convert between facelet strings and piece lists", kUsage, runPieces);

}  // namespace
}  // namespace tx::cli
