// Whole workspace files. Whatever a file holds, loading never fails halfway without saying
// so; a list that loaded saves to a file that loads to the same cubes and names, in order.
#include <fstream>

#include "fuzz_check.hpp"
#include "platform/events.hpp"
#include "support/scripted_prompts.hpp"
#include "workspace/cube_list.hpp"
#include "workspace/workspace_file.hpp"

using namespace tx;

namespace {

struct Rig {
    QueueEvents events;
    ScriptedPrompts prompts;
    CubeList list{events, prompts};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const auto file = fuzz::scratchFolder() / "workspace.txt";
    const auto saved = fuzz::scratchFolder() / "saved.txt";
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    Rig first;
    const LoadResult loaded = loadWorkspace(first.list, file);
    FUZZ_REQUIRE(loaded.opened);
    FUZZ_REQUIRE(loaded.added == loaded.lines);  // nothing is skipped without the option
    FUZZ_REQUIRE(static_cast<int>(first.list.size()) == loaded.added);
    FUZZ_REQUIRE(loaded.tooLong == !first.prompts.shown.empty());

    const SaveResult result = saveWorkspace(first.list, saved);
    FUZZ_REQUIRE(result.ok);
    FUZZ_REQUIRE(!first.list.modified);

    Rig second;
    const LoadResult reloaded = loadWorkspace(second.list, saved);
    FUZZ_REQUIRE(!reloaded.tooLong && reloaded.stoppedAtLine == 0);
    FUZZ_REQUIRE(second.list.size() == first.list.size());
    for (std::size_t i = 0; i < first.list.size(); ++i) {
        const Entry& a = *first.list.entries()[i];
        const Entry& b = *second.list.entries()[i];
        FUZZ_REQUIRE(a.cube.f == b.cube.f);
        FUZZ_REQUIRE(fuzz::startsWith(fuzz::writtenName(a.patternName), b.patternName));
    }
    return 0;
}
