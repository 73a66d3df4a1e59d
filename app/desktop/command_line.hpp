#pragma once
// --help and --version of the desktop program, answered before any window system is opened,
// so that they work without a display (and the manual page can be made from them at build time).
#include <cstdio>
#include <optional>
#include <string_view>

#include "version/version.hpp"

namespace tx::app {

inline constexpr const char* kDesktopHelp =
    "usage: tesserix [--data-dir DIR] [Qt options]\n"
    "Tesserix, a workbench for the 3x3x3 cube: find short and optimal maneuvers for cube positions,\n"
    "search cubes with symmetries or colour patterns, keep them in a list and save it as a workspace file.\n"
    "\n"
    "options:\n"
    "  --data-dir DIR  folder for cube.ini and the table files (also TESSERIX_DATA); without it the\n"
    "                  program's own folder, or ~/.local/share/tesserix when that is not writable\n"
    "  -h, --help      print this text and exit\n"
    "  --version       print the version and exit\n";

// The exit code when the arguments asked only for help or the version, else nullopt.
inline std::optional<int> answerInfoOptions(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        if (a == "-h" || a == "--help" || a == "--help-all") {
            std::fputs(kDesktopHelp, stdout);
            return 0;
        }
        if (a == "--version" || a == "-v") {
            std::printf("%s\n", versionLine("tesserix").c_str());
            return 0;
        }
    }
    return std::nullopt;
}

}  // namespace tx::app
