#pragma once
// Loads (or builds) the tables a command needs, with progress on stderr.
#include <cstdio>
#include <optional>
#include <string>

#include "console.hpp"
#include "platform/data_folder.hpp"
#include "tables/loader.hpp"
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

}  // namespace tx::cli
