// The shared reader of cubes from outside (command lines, files, web requests). The first
// input byte picks the options (bit 0: centres count, bit 1: the web server's reading); the
// rest is the text. A text that reads as a cube passes the validity check again, at the
// facelet and the cubie level, and writes back (as a facelet string and as a piece list) to
// a text that reads as the same cube; a refusal gives a reason, the same one readCube and
// the two steps behind it (parseCubeText, cubeProblem) give.
#include <cctype>

#include "cube/cube_input.hpp"
#include "fuzz_check.hpp"

using namespace tx;

namespace {

bool printable(const std::string& text) {
    for (char ch : text)
        if (static_cast<unsigned char>(ch) < ' ' || static_cast<unsigned char>(ch) > '~') return false;
    return true;
}

// The face letters of a text in order, upper case, up to the first line end when `toLineEnd`.
std::string faceLetters(std::string_view text, bool toLineEnd) {
    std::string letters;
    for (char ch : text) {
        if (toLineEnd && (ch == '\n' || ch == '\r')) break;
        if (colorOfLetter(ch) >= 0) letters += faceLetter(colorOfLetter(ch));
    }
    return letters;
}

// A text written from `cube` reads back as the same cube, accepted.
void readsBackAs(const std::string& written, const FaceletCube& cube, CubeForm form, const CubeTextOptions& options) {
    const CubeText again = readCube(written, options);
    FUZZ_REQUIRE(again.ok());
    FUZZ_REQUIRE(again.form == form);
    FUZZ_REQUIRE(again.cube.f == cube.f);
}

void checkAccepted(std::string_view text, const CubeText& read, const CubeTextOptions& options) {
    FUZZ_REQUIRE(read.cube.isComplete() && read.cube.centersInPlace());
    FUZZ_REQUIRE(!cubeProblem(read.cube).has_value());
    const CubieCube cubies = read.cube.toCubieCube();
    FUZZ_REQUIRE(!cubieProblem(cubies).has_value());
    FaceletCube back;
    back.setFromCubieCube(cubies);
    FUZZ_REQUIRE(back.f == read.cube.f);

    if (read.form == CubeForm::Facelets) {
        FUZZ_REQUIRE(read.letters == kFacelets || options.webRequest);
        const std::string letters = faceLetters(text, true);
        FUZZ_REQUIRE(letters.substr(0, kFacelets) == read.cube.faceletString());
    }
    // The written forms carry no centre orientations: they read as the same facelets, and are
    // accepted when the centres do not count or stand as written.
    CubeTextOptions plain = options;
    const bool centresTurned = read.cube.centerOri != decltype(read.cube.centerOri){};
    if (centresTurned) plain.centersCount = false;
    readsBackAs(read.cube.faceletString(), read.cube, CubeForm::Facelets, plain);
    if (!plain.webRequest) readsBackAs(read.cube.pieceList(), read.cube, CubeForm::PieceList, plain);
}

void checkRefused(std::string_view text, const CubeText& read, const CubeText& parsed,
                  const CubeTextOptions& options) {
    FUZZ_REQUIRE(!read.error.empty() && printable(read.error));
    // The reason is the parser's own, or else what the check says of the cube as parsed.
    if (!parsed.ok()) FUZZ_REQUIRE(read.error == parsed.error);
    else FUZZ_REQUIRE(cubeProblem(parsed.cube) == read.error);
    // A wrong number of letters is told with the number found.
    if (read.form != CubeForm::Facelets) return;
    const std::size_t found = options.webRequest ? faceLetters(text, true).size() : std::size_t(read.letters);
    if (found != std::size_t(kFacelets) && !(options.webRequest && found > std::size_t(kFacelets))) {
        FUZZ_REQUIRE(read.error.find("(" + std::to_string(found) + ")") != std::string::npos ||
                     read.error.find("found " + std::to_string(found)) != std::string::npos);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    if (size == 0) return 0;
    CubeTextOptions options;
    options.centersCount = data[0] & 1;
    options.webRequest = data[0] & 2;
    const std::string_view text = fuzz::asText(data + 1, size - 1);

    const CubeText parsed = parseCubeText(text, options);
    const CubeText read = readCube(text, options);
    FUZZ_REQUIRE(read.form == parsed.form && read.letters == parsed.letters);
    FUZZ_REQUIRE(read.cube == parsed.cube);
    FUZZ_REQUIRE(read.cube.centersCount == options.centersCount);
    if (options.webRequest) FUZZ_REQUIRE(read.form == CubeForm::Facelets);
    if (read.ok()) checkAccepted(text, read, options);
    else checkRefused(text, read, parsed, options);
    return 0;
}
