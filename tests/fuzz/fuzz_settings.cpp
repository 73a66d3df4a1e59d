// cube.ini. Any file reads without failing; a value that reads back is the number the file
// holds; writing one key changes that key only: every other key reads as before, and a
// second reader of the file sees the same.
#include <fstream>

#include "fuzz_check.hpp"
#include "workspace/settings.hpp"

using namespace tx;

namespace {

bool sameValues(const SettingsValues& a, const SettingsValues& b) {
    return a.colors == b.colors && a.autoFix == b.autoFix && a.stopAt == b.stopAt && a.tripleSearch == b.tripleSearch &&
           a.autoTime == b.autoTime && a.port == b.port && a.serverEnabled == b.serverEnabled &&
           a.writeToFile == b.writeToFile && a.nThreads == b.nThreads;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const auto file = fuzz::scratchFolder() / "cube.ini";
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    Settings settings(file);
    const SettingsValues before = settings.load();
    if (auto text = settings.readString(ini::kTwoPhase, ini::kStopAt))
        if (auto n = parseIniInt(*text))  // a stored value out of range reads as the default
            FUZZ_REQUIRE(before.stopAt == (ini::kStopAtRange.contains(*n) ? *n : 20));

    const int stopAt = 16 + static_cast<int>(size % 8);
    FUZZ_REQUIRE(settings.writeStopAt(stopAt));
    SettingsValues expected = before;
    expected.stopAt = stopAt;
    FUZZ_REQUIRE(sameValues(settings.load(), expected));
    FUZZ_REQUIRE(sameValues(Settings(file).load(), expected));

    FUZZ_REQUIRE(settings.writeColor(static_cast<int>(size % 7), 0x123456));
    expected.colors[size % 7] = 0x123456;
    FUZZ_REQUIRE(sameValues(Settings(file).load(), expected));
    return 0;
}
