// tesserix-cli tables: builds what is missing and loads the rest, then lists the table files.
#include <cstdio>

#include "command.hpp"
#include "console.hpp"
#include "json_output.hpp"
#include "numbers.hpp"
#include "platform/data_folder.hpp"
#include "tables/loader.hpp"
#include "tables/tables.hpp"
#include "table_verify.hpp"

namespace tx::cli {

namespace {

void printStatistics(const std::vector<TableStatistics>& stats, bool json) {
    for (const auto& s : stats) {
        if (json) {
            printJsonLine(tableStatisticsRecord(s));
            continue;
        }
        std::printf("%s: distance entries%s\n", s.name.c_str(),
                    s.name.rfind("phase1PF", 0) == 0 ? " positions" : "");
        std::uint64_t total = 0, totalPositions = 0;
        for (std::size_t d = 0; d < s.byDistance.size(); ++d) {
            if (s.byDistance[d].entries == 0) continue;
            total += s.byDistance[d].entries;
            totalPositions += s.byDistance[d].positions;
            if (s.name.rfind("phase1PF", 0) == 0)
                std::printf("  %2zu %12llu %14llu\n", d, (unsigned long long)s.byDistance[d].entries,
                            (unsigned long long)s.byDistance[d].positions);
            else
                std::printf("  %2zu %12llu\n", d, (unsigned long long)s.byDistance[d].entries);
        }
        if (s.name.rfind("phase1PF", 0) == 0)
            std::printf("  total %llu %llu\n", (unsigned long long)total, (unsigned long long)totalPositions);
        else
            std::printf("  total %llu\n", (unsigned long long)total);
    }
}

int run(const Args& input) {
    Args args = input;
    bool slice = takeFlag(args, "--slice");
    bool centres = takeFlag(args, "--centres");
    bool huge = takeFlag(args, "--huge");
    bool stats = takeFlag(args, "--stats");
    bool yes = takeFlag(args, "--yes");
    bool verify = takeFlag(args, "--verify");
    std::string dir = takeOption(args, "--data-dir", "");
    const auto threads = takeWholeOption(args, "tables", "--threads", 0, 0, 1024);
    const auto format = takeFormat(args, "tables");
    if (!threads || !format) return kExitError;
    const bool json = *format == OutputFormat::Json;
    if (!args.empty()) {
        std::fprintf(stderr, "tables: unexpected argument '%s'\n", args[0].c_str());
        return kExitError;
    }
    DataFolder folder = resolveDataFolder(dir.empty() ? std::nullopt : std::optional<std::string>(dir));
    if (!folder.note.empty()) std::fprintf(stderr, "%s\n", folder.note.c_str());
    if (verify) return verifyTables(folder.path);
    ConsoleProgress progress;
    ConsolePrompts prompts(yes);
    TableLoader loader(folder.path, progress, prompts);
    loader.threads = static_cast<int>(*threads);
    StartResult result = loader.startUp(slice, huge);
    if (result != StartResult::Ready) {
        std::fprintf(stderr, "tables: %s\n",
                     result == StartResult::NoDiskSpace ? "not enough disk space" : "the tables were not created");
        return kExitError;
    }
    if (centres && !loader.loadCenterTables()) return kExitError;
    if (huge && !loader.current().hasHuge()) return kExitError;
    for (const auto& r : loader.reports) {
        if (json)
            printJsonLine(tableFileRecord(r));
        else
            std::printf("%-20s %12llu %-6s %8.2f s\n", r.name.c_str(), (unsigned long long)r.bytes,
                        r.built ? "built" : "loaded", r.seconds);
    }
    if (stats) {
        bool builtNow = !loader.statistics.empty();
        if (!builtNow && !loader.collectStatistics()) {
            std::fprintf(stderr, "tables: a table file differs from a freshly generated table\n");
            printStatistics(loader.statistics, json);
            return kExitInvalid;
        }
        printStatistics(loader.statistics, json);
    }
    return kExitOk;
}

Register reg("tables", "build missing tables, load the rest, list the files",
             "usage: tesserix-cli tables [--slice] [--centres] [--huge] [--stats] [--verify] [--format text|json]\n"
             "                           [--data-dir DIR] [--yes] [--threads N]\n"
             "Builds the table files that are missing and loads the others, with progress on stderr, then prints\n"
             "one line per file: name, bytes, built or loaded, seconds. --slice: the tables of the slice-move\n"
             "metric; --centres: the 430 MB table for cubes whose centre orientation counts; --huge: the 1881 MB\n"
             "table of the optimal solver. --stats: entries at each distance for every pruning table (and for the\n"
             "phase-1 table the positions they stand for); tables that were only loaded are generated again for\n"
             "this and compared with their files. --format json: one JSON object per file (file, bytes, built,\n"
             "seconds) and per table of --stats (table, distances, entries, positions). Without a terminal the\n"
             "first-run question is answered yes; the 430 MB and 1881 MB tables are built only with --yes.\n"
             "--verify: builds and loads nothing; checks every table file present against the checksum recorded\n"
             "when it was written (ok, checksum mismatch, wrong size, no checksum recorded) and exits 1 when one\n"
             "does not match.\n",
             run);

}  // namespace
}  // namespace tx::cli
