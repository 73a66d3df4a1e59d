// pieces: converts between the two text forms of a cube, the 54-letter facelet string and the
// 48-letter piece list (edges UF UR UB UL DF DR DB DL FR FL BR BL, corners UFR URB UBL ULF
// DRF DFL DLB DBR). The number of face letters on a line tells which form it is.
#include <cstdio>
#include <string>

#include "command.hpp"
#include "facelet_input.hpp"

namespace tx::cli {
namespace {

constexpr const char* kName = "pieces";

int runPieces(const Args& given) {
    Args args = given;
    if (takeFlag(args, "--help")) {
        std::printf(
            "usage: tesserix-cli pieces [TEXT...|-]\n"
            "A facelet string (54 face letters) is printed as a piece list, a piece list (48 face\n"
            "letters, in the order UF UR UB UL DF DR DB DL FR FL BR BL UFR URB UBL ULF DRF DFL DLB\n"
            "DBR) as a facelet string. Other characters are ignored. Reads stdin, one per line,\n"
            "when no TEXT is given.\n");
        return kExitOk;
    }
    if (hasUnknownOption(kName, args)) return kExitError;
    int exitCode = kExitOk;
    std::size_t lineNo = 0;
    for (const auto& line : inputLines(args, true)) {
        ++lineNo;
        std::string error;
        const int letters = countFaceLetters(line);
        if (letters == 48) {
            FaceletCube cube;
            cube.readPieceList(line);
            std::printf("%s\n", cube.faceletString().c_str());
            continue;
        }
        if (letters != kFacelets) {
            error = "expected 54 face letters (facelet string) or 48 (piece list), found " +
                    std::to_string(letters);
        } else if (auto cube = parseFaceletString(line, error)) {
            std::string list = cube->pieceList();
            if (!list.empty() && list.back() == ' ') list.pop_back();
            std::printf("%s\n", list.c_str());
            continue;
        }
        reportLine(kName, lineNo, error);
        std::printf("invalid\n");
        exitCode = kExitInvalid;
    }
    return exitCode;
}

Register reg(kName, "convert between facelet strings and piece lists", runPieces);

}  // namespace
}  // namespace tx::cli
