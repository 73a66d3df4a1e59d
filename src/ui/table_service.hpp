#pragma once
// The tables as the main window sees them: the start-up load and the on-demand loads of the
// Options menu, and the set the searches of the list take (current()). The desktop program
// uses the table loader; tests substitute a fake so no window test has to build tables.
#include <filesystem>
#include <memory>

#include "platform/progress.hpp"
#include "platform/prompts.hpp"
#include "searches/incomp_tables.hpp"
#include "tables/loader.hpp"

namespace tx::ui {

class TableService : public TableSource {
public:
    virtual StartResult startUp(bool sliceMode, bool hugeOption) = 0;
    // Reloads the tables of the other move set (and the centre tables when centres is set).
    virtual bool switchMode(bool sliceMode, bool centres) = 0;
    virtual bool loadCenterTables() = 0;
    virtual void freeCenterTables() = 0;
    virtual bool loadHugeTable() = 0;
    virtual bool hasCenter() const = 0;
    virtual bool hasHuge() const = 0;
    // The tables of the search for partially defined cubes, made after the start-up load and
    // again for the other move set when that search switches (null until then).
    virtual std::shared_ptr<const IncompTables> incompTables() const { return nullptr; }
    virtual bool buildIncompTables(bool /*sliceMode*/) { return false; }
};

// The tables built or loaded from the data folder.
std::unique_ptr<TableService> makeLoaderTables(const std::filesystem::path& folder, Progress& progress,
                                               Prompts& prompts);

}  // namespace tx::ui
