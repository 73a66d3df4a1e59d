// The maneuver reader. The moves of a text (before any comment or length mark), followed by
// their inverse, give the solved cube again; inverting twice applies to the same cube with the
// same count.
#include "cube/notation.hpp"
#include "fuzz_check.hpp"

using namespace tx;

namespace {

std::string_view movesOf(std::string_view text) {
    text = text.substr(0, text.find("//"));
    return text.substr(0, text.find('('));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view text = fuzz::asText(data, size);
    {
        FaceletCube whole;
        FUZZ_REQUIRE(applyManeuver(whole, text).moves >= 0);
    }
    const std::string_view moves = movesOf(text);
    FaceletCube cube;
    const ApplyResult applied = applyManeuver(cube, moves);
    if (applied.pieceList) return 0;
    FUZZ_REQUIRE(applied.moves >= 0);

    const std::string inverse = inverseManeuver(moves);
    FaceletCube undone = cube;
    const ApplyResult back = applyManeuver(undone, inverse);
    if (back.pieceList) return 0;
    FUZZ_REQUIRE(back.moves == applied.moves);
    FUZZ_REQUIRE(undone == FaceletCube());

    FaceletCube again;
    const ApplyResult twice = applyManeuver(again, inverseManeuver(inverse));
    FUZZ_REQUIRE(twice.pieceList || (twice.moves == applied.moves && again == cube));
    return 0;
}
