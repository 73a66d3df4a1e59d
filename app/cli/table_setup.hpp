#pragma once
// Loads (or builds) the tables a command needs, with progress on stderr.
#include <unistd.h>

#include <cstdio>
#include <optional>
#include <string>

#include "console.hpp"
#include "platform/data_folder.hpp"
#include "tables/loader.hpp"
#include "tables/table_files.hpp"
#include "tables/tables.hpp"

namespace tx::cli {

struct TableOptions {
    std::string dataDir;
    bool slice = false;
    bool centres = false;
    bool huge = false;
    bool yes = false;
};

// The tables the command asked for; nullopt (after saying why) when they could not be made ready.
inline std::optional<TableSet> prepareTables(const TableOptions& o) {
    DataFolder folder = resolveDataFolder(o.dataDir.empty() ? std::nullopt : std::optional<std::string>(o.dataDir));
    if (!folder.note.empty()) std::fprintf(stderr, "%s\n", folder.note.c_str());
    ConsoleProgress progress(true);
    ConsolePrompts prompts(o.yes);
    TableLoader loader(folder.path, progress, prompts);
    if (loader.startUp(o.slice, o.huge) != StartResult::Ready) {
        std::fprintf(stderr, "tesserix-cli: the tables are not available\n");
        return std::nullopt;
    }
    if (o.huge && !loader.current().hasHuge()) return std::nullopt;
    if (o.centres && !loader.loadCenterTables()) return std::nullopt;
    return loader.current();
}

// The huge table is built only when someone can answer the question, or --yes answered it:
// without a terminal a command that needs it refuses instead of building 1881 MB unasked.
inline bool mayLoadHugeTable(const TableOptions& o, const char* command) {
    if (!o.huge || o.yes || ::isatty(0)) return true;
    const DataFolder folder = resolveDataFolder(o.dataDir.empty() ? std::nullopt : std::optional(o.dataDir));
    const auto file = folder.path / modeFileName("ubigPF.prun", false);
    if (tableFileSize(file) == static_cast<long long>(TableLoader::kHugeBytes)) return true;
    std::fprintf(stderr,
                 "tesserix-cli %s: the huge table %s is not there; building it takes about 10 minutes and\n"
                 "4.5 GB of memory. Build it with \"tesserix-cli tables --huge\", or give --yes.\n",
                 command, file.string().c_str());
    return false;
}

}  // namespace tx::cli
