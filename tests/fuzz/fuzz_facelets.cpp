// Facelet strings, complete and partial. A string that reads as a whole cube writes the same
// cube again; a cube the check accepts unchanged survives the trip through the cubie level;
// the check fixes a partial cube in one go, so checking again changes nothing.
#include "cube/facelet_cube.hpp"
#include "fuzz_check.hpp"

using namespace tx;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view text = fuzz::asText(data, size);
    FaceletCube cube;
    const int n = cube.readFaceletString(text);
    FUZZ_REQUIRE(n >= 0 && n <= kFacelets);
    for (auto v : cube.f) FUZZ_REQUIRE(v <= kUndefinedFacelet);
    FUZZ_REQUIRE(cube.isComplete() == (n == kFacelets));

    const std::string written = cube.faceletString();
    FUZZ_REQUIRE(written.size() == std::size_t(kFacelets));
    if (n == kFacelets) {
        FaceletCube again;
        FUZZ_REQUIRE(again.readFaceletString(written) == kFacelets);
        FUZZ_REQUIRE(again.f == cube.f);
    }

    FaceletCube checked = cube;
    int corrections = 0;
    const bool unchanged = checked.checkAll(&corrections);
    FUZZ_REQUIRE(!unchanged || checked.f == cube.f);
    for (auto v : checked.f) FUZZ_REQUIRE(v <= kReferenceMark);
    FaceletCube twice = checked;
    twice.checkAll();
    FUZZ_REQUIRE(twice.f == checked.f);

    if (unchanged && checked.isComplete() && checked.centersInPlace()) {
        FaceletCube back;
        back.setFromCubieCube(checked.toCubieCube());
        FUZZ_REQUIRE(back.f == checked.f);
    }
    return 0;
}
