// A save killed at any moment leaves the whole old file or the whole new one: the workspace,
// cube.ini and a table file, each written by a child process that gets SIGKILL at a random
// point of its write.
#include "fault_support.hpp"
#include "tables/table_files.hpp"
#include "tables/table_manifest.hpp"
#include "workspace/list_support.hpp"
#include "workspace/settings.hpp"
#include "workspace/workspace_file.hpp"

namespace tx {
namespace {

namespace fs = std::filesystem;
using testing::KillTally;
using testing::readFile;
using testing::TempFolder;

TEST(KillDuringSave, AWorkspaceIsTheWholeOldOrTheWholeNewFile) {
    TempFolder dir("kill-workspace");
    testing::ListRig rig;
    rig.list.isoCheck = false;
    MersenneTwister rng(71);
    for (int i = 0; i < 3000; ++i) rig.list.addCube(*testing::entryWithManeuver(rng, 20), {});
    ASSERT_TRUE(saveWorkspace(rig.list, dir / "reference.txt").ok);
    const std::string fresh = readFile(dir / "reference.txt");
    fs::remove(dir / "reference.txt");
    ASSERT_GT(fresh.size(), 150000u);
    const std::string old = fresh.substr(0, fresh.find("\r\n", fresh.size() / 2) + 2);  // an earlier save

    const fs::path target = dir / "cubes.txt";
    const KillTally tally =
        testing::killWhileWriting(target, old, fresh, [&] { saveWorkspace(rig.list, target); }, 200, 5);
    EXPECT_GT(tally.old, 0);
    EXPECT_GT(tally.fresh, 0);
    // The next save clears what the killed writers left behind.
    ASSERT_TRUE(saveWorkspace(rig.list, target).ok);
    EXPECT_EQ(testing::filesBesides(dir.path(), {"cubes.txt"}), 0);
}

TEST(KillDuringSave, CubeIniIsTheWholeOldOrTheWholeNewFile) {
    TempFolder dir("kill-ini");
    const fs::path ini = dir / "cube.ini";
    std::string old = "[Two-Phase-Algorithm]\r\nstopAt=20\r\n\r\n[Notes]\r\n";
    for (int i = 0; i < 4000; ++i) old += "; a note the program keeps, line " + std::to_string(i) + "\r\n";
    testing::writeFile(ini, old);
    ASSERT_TRUE(Settings(ini).writeStopAt(17));
    const std::string fresh = readFile(ini);
    ASSERT_NE(fresh, old);

    const KillTally tally =
        testing::killWhileWriting(ini, old, fresh, [&] { Settings(ini).writeStopAt(17); }, 200, 6);
    EXPECT_GT(tally.old, 0);
    EXPECT_GT(tally.fresh, 0);
    ASSERT_TRUE(Settings(ini).writeStopAt(18));
    EXPECT_EQ(Settings(ini).load().stopAt, 18);
    EXPECT_EQ(testing::filesBesides(dir.path(), {"cube.ini"}), 0);
}

TEST(KillDuringSave, ATableFileIsTheWholeOldOrTheWholeNewFile) {
    TempFolder dir("kill-table");
    const fs::path target = dir / "phase2P.prun";
    std::mt19937 rng(8);
    std::string old(1 << 20, '\0'), fresh(1 << 20, '\0');
    for (char& c : old) c = static_cast<char>(rng());
    for (char& c : fresh) c = static_cast<char>(rng());

    const KillTally tally = testing::killWhileWriting(
        target, old, fresh, [&] { writeTableFile(target, fresh.data(), fresh.size()); }, 200, 7);
    EXPECT_GT(tally.old, 0);
    EXPECT_GT(tally.fresh, 0);
    ASSERT_TRUE(writeTableFile(target, fresh.data(), fresh.size()));
    EXPECT_EQ(checkTableFile(dir.path(), "phase2P.prun"), TableFileState::Matches);
    EXPECT_EQ(testing::filesBesides(dir.path(), {"phase2P.prun", kTableManifestName}), 0);
}

}  // namespace
}  // namespace tx
