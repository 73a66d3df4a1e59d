// The main window's maneuver field: groups, powers, repeat counts, comments. Whatever is
// typed, the field ends in a cube that the solved cube can reach: every facelet coloured,
// centres in place, and nothing for the check to correct; and reading it twice gives the
// same cube.
#include "cube/notation.hpp"
#include "fuzz_check.hpp"

using namespace tx;

namespace {

// Every piece list holds at least eight of each face letter.
bool mayHoldPieceList(std::string_view text) {
    int count[6] = {};
    for (char ch : text)
        if (const int c = colorOfLetter(ch); c >= 0) ++count[c];
    for (int c : count)
        if (c < 8) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view text = fuzz::asText(data, size);
    FaceletCube cube;
    const int moves = applyManeuverField(cube, text);
    FUZZ_REQUIRE(moves >= 0);
    if (mayHoldPieceList(text)) return 0;  // a piece list sets the facelets as written
    FUZZ_REQUIRE(cube.isComplete());
    FUZZ_REQUIRE(cube.centersInPlace());
    FaceletCube checked = cube;
    FUZZ_REQUIRE(checked.checkAll());

    FaceletCube again;
    FUZZ_REQUIRE(applyManeuverField(again, text) == moves);
    FUZZ_REQUIRE(again == cube);
    return 0;
}
