#pragma once
// The standard tables for tests: built once per build tree by the CTest fixture
// (tesserix-cli tables), loaded once per test process here.
#include <cstdlib>
#include <string>

#include "platform/progress.hpp"
#include "platform/prompts.hpp"
#include "tables/loader.hpp"
#include "tables/tables.hpp"

namespace tx::testing {

inline std::string testDataFolder() {
    if (const char* env = std::getenv("TESSERIX_TEST_DATA")) return env;
    return TESSERIX_TEST_DATA;
}

inline void loadTestTables() {
    static bool loaded = [] {
        NullProgress progress;
        AutoPrompts prompts(Answer::Yes);
        TableLoader loader(testDataFolder(), progress, prompts);
        return loader.startUp(false, false) == StartResult::Ready;
    }();
    (void)loaded;
}

// Switches the process-wide tables to the slice-move (or face-turn) variants for a scope.
class SliceModeTables {
public:
    SliceModeTables() { load(true); }
    ~SliceModeTables() { load(false); }

private:
    static void load(bool slice) {
        NullProgress progress;
        AutoPrompts prompts(Answer::Yes);
        TableLoader loader(testDataFolder(), progress, prompts);
        loader.switchMode(slice, false);
    }
};

}  // namespace tx::testing
