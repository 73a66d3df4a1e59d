#pragma once
// Random maneuver texts for the reader and writer property tests.
#include <random>
#include <string>

namespace tx::testing {

// Move tokens: faces (some as slice or antislice pairs), middle layers and rotations, with every
// power spelling the reader knows; tokens end in a blank, or (looseBlanks) only now and then.
inline std::string randomText(std::mt19937& rng, int tokens, bool looseBlanks) {
    static const char* const kLetters[] = {"U", "R", "F", "D", "L", "B", "E", "M", "S", "x", "y", "z"};
    static const char* const kPowers[] = {"", "2", "'", "3"};
    std::string t;
    for (int i = 0; i < tokens; ++i) {
        const int letter = int(rng() % 12);
        t += kLetters[letter];
        if (letter < 6 && rng() % 4 == 0) t += rng() % 2 ? "s" : "a";
        t += kPowers[rng() % 4];
        if (!looseBlanks || rng() % 5) t += ' ';
    }
    return t;
}

}  // namespace tx::testing
