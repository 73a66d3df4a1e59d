// One workspace line. A line that loads writes back to a line that fits the reader and loads
// to the same cube and name; writing that entry again gives the same line.
#include "fuzz_check.hpp"
#include "workspace/workspace_file.hpp"

using namespace tx;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    if (size == 0) return 0;
    const char metric = (data[0] & 1) ? 's' : 'f';
    // A line as the file reader hands it over: no CR, no LF, at most 299 characters.
    std::string line;
    for (char ch : fuzz::asText(data + 1, size - 1)) {
        if (ch == '\n') break;
        if (ch != '\r') line += ch;
    }
    if (line.size() > kMaxLineLength + 1) return 0;

    const auto entry = parseWorkspaceLine(line, metric);
    const std::string written = workspaceLine(*entry, metric);
    FUZZ_REQUIRE(written.size() <= kMaxLineLength);
    FUZZ_REQUIRE(written.find_first_of("\r\n") == std::string::npos);

    const auto loaded = parseWorkspaceLine(written, metric);
    FUZZ_REQUIRE(loaded->cube.f == entry->cube.f);
    const std::string name = fuzz::writtenName(entry->patternName);
    FUZZ_REQUIRE(fuzz::startsWith(name, loaded->patternName));
    // A name is shortened only when the whole of it would not fit on the line.
    // Without its name the line would be the body and one blank, with it the body, "//" (" //"
    // after a body that ends in a slash) and the name.
    std::size_t withoutName = written.size() - loaded->patternName.size();
    if (loaded->patternName.empty()) {
        const std::size_t body = written.size() - 1;
        withoutName = body + (body > 0 && written[body - 1] == '/' ? 3 : 2);
    }
    FUZZ_REQUIRE(loaded->patternName.size() == name.size() || withoutName + name.size() > kMaxLineLength);
    FUZZ_REQUIRE(workspaceLine(*loaded, metric) == written);
    return 0;
}
