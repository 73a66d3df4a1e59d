#include "support/test_tables.hpp"

#include <cstdlib>

#include "platform/progress.hpp"
#include "platform/prompts.hpp"
#include "tables/loader.hpp"

namespace tx::testing {

std::string testDataFolder() {
    if (const char* env = std::getenv("TESSERIX_TEST_DATA")) return env;
    return TESSERIX_TEST_DATA;
}

namespace {

TableSet loadFaceTurnTables() {
    NullProgress progress;
    AutoPrompts prompts(Answer::No);  // never build anything here
    TableLoader loader(testDataFolder(), progress, prompts);
    if (loader.startUp(false, false) != StartResult::Ready) return {};
    return loader.current();
}

}  // namespace

const TableSet& loadTestTables() {
    static const TableSet tables = loadFaceTurnTables();
    return tables;
}

const TableSet& loadSliceTestTables() {
    static const TableSet tables = [] {
        if (!loadTestTables().ready()) return TableSet{};
        NullProgress progress;
        AutoPrompts prompts(Answer::No);
        TableLoader loader(testDataFolder(), progress, prompts, loadTestTables());  // shares the coordinates
        return loader.switchMode(true, false) ? loader.current() : TableSet{};
    }();
    return tables;
}

const TableSource& testTableSource() {
    static const FixedTables source(loadTestTables());
    return source;
}

}  // namespace tx::testing
