// Piece lists, as the maneuver reader and the workspace file take them. A list that fills
// all 48 facelets writes the same list again, and the workspace's facelet line of any cube
// the reader can recognise as one loads back as that cube.
#include "cube/facelet_cube.hpp"
#include "fuzz_check.hpp"
#include "workspace/workspace_file.hpp"

using namespace tx;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view text = fuzz::asText(data, size);
    FaceletCube cube;
    cube.clear();
    const int n = cube.readPieceList(text);
    FUZZ_REQUIRE(n >= 0 && n <= 48);

    if (n == 48) {
        FaceletCube again;
        again.clear();
        FUZZ_REQUIRE(again.readPieceList(cube.pieceList()) == 48);
        FUZZ_REQUIRE(again.f == cube.f);
    }

    int count[6] = {};
    for (int k = 0; k < n; ++k) ++count[cube.f[kPieceListFacelet[k]]];
    bool atMostEight = true, exactlyEight = true;
    for (int c : count) {
        atMostEight &= c <= 8;
        exactlyEight &= c == 8;
    }
    const bool recognised = n < 48 ? atMostEight : exactlyEight;
    if (recognised) {
        FaceletCube loaded;
        FUZZ_REQUIRE(applyWorkspaceManeuver(loaded, faceletLineText(cube)) == 0);
        FUZZ_REQUIRE(loaded.f == cube.f);
    }
    return 0;
}
