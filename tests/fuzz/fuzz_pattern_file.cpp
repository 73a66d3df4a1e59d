// Pattern files. A text is either read, with every cell a palette value and its row's faces
// set, or refused with "line N: reason" naming a line of the text.
#include <algorithm>

#include "fuzz_check.hpp"
#include "searches/pattern_file.hpp"

using namespace tx;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view text = fuzz::asText(data, size);
    std::string error;
    const auto set = readPatternText(text, error);
    if (!set) {
        FUZZ_REQUIRE(fuzz::startsWith(error, "line "));
        const long line = std::strtol(error.c_str() + 5, nullptr, 10);
        const long lines = static_cast<long>(std::count(text.begin(), text.end(), '\n')) + 1;
        FUZZ_REQUIRE(line >= 1 && line <= lines);
        return 0;
    }
    for (const auto& row : set->rows)
        for (auto cell : row) FUZZ_REQUIRE(cell >= 1 && cell <= 6);
    return 0;
}
