// tesserix-cli print: the printed pages of a workspace file as a PDF file, six cubes to a
// page, as the desktop program prints them.
#ifdef TESSERIX_HAS_PRINT

#include <QBuffer>
#include <QGuiApplication>
#include <QPdfWriter>

#include <cstdio>
#include <set>

#include "list_file.hpp"
#include "numbers.hpp"
#include "platform/atomic_file.hpp"
#include "ui/cube_printer.hpp"

namespace tx::cli {
namespace {

constexpr const char* kName = "print";
constexpr const char* kUsage = "usage: tesserix-cli print FILE OUT.pdf [--selected LIST] [--slice] [--data-dir DIR]\n";
constexpr int kPdfResolution = 1200;

// "1,3,5-7": 1-based numbers and ranges of entries; nullopt after saying what is wrong.
std::optional<std::set<int>> parseSelection(const std::string& text, int count) {
    std::set<int> chosen;
    std::size_t at = 0;
    while (at <= text.size()) {
        const std::size_t end = std::min(text.find(',', at), text.size());
        const std::string part = text.substr(at, end - at);
        const std::size_t dash = part.find('-');
        const auto first = parseWholeNumber(part.substr(0, dash), 1, count);
        const auto last = dash == std::string::npos ? first : parseWholeNumber(part.substr(dash + 1), 1, count);
        if (!first || !last || *last < *first) {
            std::fprintf(stderr, "tesserix-cli %s: --selected needs numbers or ranges of cubes 1 to %d, not '%s'\n",
                         kName, count, part.c_str());
            return std::nullopt;
        }
        for (long long k = *first; k <= *last; ++k) chosen.insert(static_cast<int>(k) - 1);
        at = end + 1;
    }
    return chosen;
}

// The pages go to memory first: the file is written in one piece, or not at all.
bool printToPdf(const std::vector<std::shared_ptr<Entry>>& entries, const ColorScheme& scheme, QByteArray& pdf) {
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(kPdfResolution);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setCreator("Tesserix");
    return ui::printCubes(writer, entries, scheme);
}

int run(const Args& input) {
    Args args = input;
    const std::string selection = takeOption(args, "--selected", "");
    const bool slice = takeFlag(args, "--slice");
    const std::string dataDir = takeOption(args, "--data-dir", "");
    if (hasUnknownOption(kName, args)) return kExitError;
    if (args.size() != 2 || args[1].empty()) {
        std::fprintf(stderr, "%s", kUsage);
        return kExitError;
    }
    ListFile file;
    if (const int code = loadListFile(kName, file, args[0], slice); code != kExitOk) return code;
    if (!selection.empty()) {
        const auto chosen = parseSelection(selection, static_cast<int>(file.list.size()));
        if (!chosen) return kExitError;
        for (int i : *chosen) file.list.at(i).selected = true;
    }
    // Fonts and painting need a GUI application; no display is needed. Qt's notes about the
    // session (no runtime folder, say) are no concern of a command that writes a file.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(message));
    });
    int argc = 3;
    char arg0[] = "tesserix-cli", arg1[] = "-platform", arg2[] = "offscreen";
    char* argv[] = {arg0, arg1, arg2, nullptr};
    QGuiApplication app(argc, argv);
    QByteArray pdf;
    if (!printToPdf(ui::entriesToPrint(file.list, !selection.empty()), schemeOf(dataDir), pdf)) {
        std::fprintf(stderr, "tesserix-cli %s: the pages could not be drawn\n", kName);
        return kExitError;
    }
    const WriteResult written = writeFileAtomically(args[1], std::string_view(pdf.constData(), pdf.size()));
    if (!written.ok) {
        std::fprintf(stderr, "tesserix-cli %s: %s\n", kName, written.error.c_str());
        return kExitError;
    }
    return kExitOk;
}

Register reg(kName, "print a workspace file to a PDF file, six cubes to a page",
             std::string(kUsage) +
                 "Prints the cubes of a workspace file as the desktop program's \"Print Main Window\" does:\n"
                 "six to an A4 page, each with its number, picture, name and generator. --selected prints\n"
                 "only the cubes named, by number and range (\"1,3,5-7\"), as \"Print Selected Cubes\"\n"
                 "does. The colours come from cube.ini in the data folder. OUT.pdf is replaced only once\n"
                 "the new file is complete.\n",
             run);

}  // namespace
}  // namespace tx::cli

#endif  // TESSERIX_HAS_PRINT
