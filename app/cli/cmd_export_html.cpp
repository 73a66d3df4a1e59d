// tesserix-cli export-html: the web page of a workspace file, the applet page the desktop
// program saves or, with --modern, the self-contained page with a player for today's browsers.
#include <cstdio>

#include "list_file.hpp"
#include "platform/atomic_file.hpp"
#include "workspace/html_page.hpp"
#include "workspace/modern_page.hpp"

namespace tx::cli {
namespace {

constexpr const char* kUsage = "usage: tesserix-cli export-html FILE OUT [--modern] [--slice] [--data-dir DIR]\n";

int run(const Args& input) {
    Args args = input;
    const bool modern = takeFlag(args, "--modern");
    const bool slice = takeFlag(args, "--slice");
    const std::string dataDir = takeOption(args, "--data-dir", "");
    if (hasUnknownOption("export-html", args)) return kExitError;
    if (args.size() != 2 || args[1].empty()) {
        std::fprintf(stderr, "%s", kUsage);
        return kExitError;
    }
    ListFile file;
    if (const int code = loadListFile("export-html", file, args[0], slice); code != kExitOk) return code;
    const std::filesystem::path out = args[1];
    const ColorScheme scheme = schemeOf(dataDir);
    const std::string title = pageTitle(out);
    const std::string page = modern ? modernHtmlPage(file.list.entries(), title, scheme)
                                    : htmlPage(file.list.entries(), title, scheme);
    const WriteResult written = writeFileAtomically(out, page);
    if (!written.ok) {
        std::fprintf(stderr, "tesserix-cli export-html: %s\n", written.error.c_str());
        return kExitError;
    }
    return kExitOk;
}

Register reg("export-html", "the web page of a workspace file (--modern: a page that plays in today's browsers)",
             std::string(kUsage) +
                 "Writes the cubes of a workspace file that have a maneuver as an HTML page with a cube-animation\n"
                 "applet each, as the desktop program's \"Save as Web Page\" does. --modern writes one\n"
                 "self-contained page instead: every cube as a picture with its name, maneuver and a player\n"
                 "that steps through the maneuver; it needs no network and no other file. The colours come\n"
                 "from cube.ini in the data folder. OUT is replaced only once the new page is complete;\n"
                 "\"-\" writes to standard output.\n",
             run);

}  // namespace
}  // namespace tx::cli
