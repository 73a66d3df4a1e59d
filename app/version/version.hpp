#pragma once
// The program version, from the build: the project version and, for a build from a git
// checkout, the commit ("5.0", "d6986c8e21"; "-modified" when the checkout had changes).
#include <string>

namespace tx::app {

extern const char* const kProjectVersion;
extern const char* const kGitCommit;

// "tesserix-cli 5.0 (commit d6986c8e21)", or without the brackets when no commit is known.
inline std::string versionLine(const std::string& program) {
    std::string line = program + " " + kProjectVersion;
    if (*kGitCommit) line += std::string(" (commit ") + kGitCommit + ")";
    return line;
}

}  // namespace tx::app
