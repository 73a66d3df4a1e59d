// Saves that cannot be completed: a read-only folder, a file size limit reached midway, a full
// filesystem. Each leaves the old workspace, cube.ini and table files as they were, tells the
// user, and keeps the list marked as modified.
#include <cstdio>

#include "fault_support.hpp"
#include "platform/atomic_file.hpp"
#include "support/recording_progress.hpp"
#include "tables/loader.hpp"
#include "tables/table_files.hpp"
#include "tables/table_manifest.hpp"
#include "workspace/list_support.hpp"
#include "workspace/settings.hpp"
#include "workspace/workspace_file.hpp"

namespace tx {
namespace {

namespace fs = std::filesystem;
using testing::readFile;
using testing::TempFolder;
using testing::writeFile;

const std::string kOldWorkspace = "R U R' U'  (4f)   //old\r\n";
const std::string kOldIni = "[Two-Phase-Algorithm]\r\nstopAt=20\r\n";
const std::string kOldTable(70000, '\x5A');

// The old files in a folder, and the checks made after a failed save (in the child that
// tried it, which answers 0 when all held).
struct OldFiles {
    fs::path folder;
    explicit OldFiles(fs::path where) : folder(std::move(where)) {
        writeFile(folder / "cubes.txt", kOldWorkspace);
        writeFile(folder / "cube.ini", kOldIni);
        writeFile(folder / "t.prun", kOldTable);
        for (const char* name : {"cubes.txt", "cube.ini", "t.prun"})
            fs::permissions(folder / name, fs::perms::all & ~fs::perms::owner_exec & ~fs::perms::group_exec &
                                               ~fs::perms::others_exec);
    }
    void expectUnchanged() const {
        EXPECT_EQ(readFile(folder / "cubes.txt"), kOldWorkspace);
        EXPECT_EQ(readFile(folder / "cube.ini"), kOldIni);
        EXPECT_EQ(readFile(folder / "t.prun"), kOldTable);
    }
};

// Tries every writer once; answers 0 when each failed, kept its state and told the user.
int tryEveryWriter(const fs::path& folder) {
    testing::ListRig rig;
    rig.list.isoCheck = false;
    MersenneTwister rng(3);
    for (int i = 0; i < 3000; ++i) rig.list.addCube(*testing::entryWithManeuver(rng, 20), {});
    if (saveWorkspace(rig.list, folder / "cubes.txt").ok) return 1;
    if (!rig.list.modified || rig.list.workspaceFile != "untitled.txt") return 2;
    if (rig.prompts.shown.size() != 1 || rig.prompts.shown[0].caption != "Error" ||
        rig.prompts.shown[0].text.rfind("The workspace could not be saved: ", 0) != 0)
        return 3;

    Settings settings(folder / "cube.ini");
    settings.setWriteFailureReporter([&](const std::string& text) { rig.prompts.message(text, "Settings", Icon::Warning); });
    if (settings.writeStopAt(17) || settings.writeNThreads(4)) return 4;
    if (rig.prompts.shown.size() != 2 || rig.prompts.shown[1].text.rfind("The settings could not be saved in ", 0) != 0)
        return 5;  // told once, not for every change
    if (settings.load().stopAt != 17) return 6;  // the change holds in memory

    const std::string table(1 << 20, '\x11');
    if (writeTableFile(folder / "t.prun", table.data(), table.size())) return 7;
    return 0;
}

TEST(FailedSave, AReadOnlyFolderKeepsTheOldFilesAndTellsTheUser) {
    testing::testTableSource();  // loaded before the child gives up its rights to read the build tree
    TempFolder dir("readonly");
    OldFiles files(dir.path());
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                    fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    const int status = testing::inChild([&] { return testing::dropPrivileges() ? tryEveryWriter(dir.path()) : 10; });
    fs::permissions(dir.path(), fs::perms::owner_all);
    EXPECT_EQ(status, 0);
    files.expectUnchanged();
    EXPECT_EQ(testing::filesBesides(dir.path(), {"cubes.txt", "cube.ini", "t.prun"}), 0);
}

TEST(FailedSave, AFileSizeLimitReachedMidwayKeepsTheOldFilesAndTellsTheUser) {
    testing::testTableSource();
    TempFolder dir("fsize");
    OldFiles files(dir.path());
    // cube.ini must outgrow the limit as well: it keeps a long comment.
    writeFile(dir / "cube.ini", kOldIni + "; " + std::string(70000, 'c') + "\r\n");
    const std::string ini = readFile(dir / "cube.ini");
    const int status = testing::inChild([&] {
        testing::limitFileSize(65536);
        return tryEveryWriter(dir.path());
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(readFile(dir / "cubes.txt"), kOldWorkspace);
    EXPECT_EQ(readFile(dir / "cube.ini"), ini);
    EXPECT_EQ(readFile(dir / "t.prun"), kOldTable);
    EXPECT_EQ(testing::filesBesides(dir.path(), {"cubes.txt", "cube.ini", "t.prun"}), 0);
}

TEST(FailedSave, AFullFilesystemKeepsTheOldFilesAndTellsTheUser) {
    testing::SmallFilesystem small(512 * 1024);
    if (!small.mounted()) GTEST_SKIP() << "no filesystem can be mounted here";
    OldFiles files(small.path());
    {
        // Fill what is left.
        std::FILE* f = std::fopen((small / "filler").c_str(), "wb");
        ASSERT_NE(f, nullptr);
        const std::string block(4096, 'f');
        while (std::fwrite(block.data(), 1, block.size(), f) == block.size() && std::fflush(f) == 0) {
        }
        std::fclose(f);
    }
    EXPECT_EQ(tryEveryWriter(small.path()), 0);
    files.expectUnchanged();
    EXPECT_EQ(testing::filesBesides(small.path(), {"cubes.txt", "cube.ini", "t.prun", "filler"}), 0);

    // With room again every writer works, and the settings tell a new failure again.
    fs::remove(small / "filler");
    Settings settings(small / "cube.ini");
    EXPECT_TRUE(settings.writeStopAt(19));
    EXPECT_EQ(Settings(small / "cube.ini").load().stopAt, 19);
}

TEST(FailedSave, SettingsTellAFailureOncePerSession) {
    TempFolder dir("ini-again");
    ScriptedPrompts prompts;
    Settings settings(dir / "cube.ini");
    settings.setWriteFailureReporter([&](const std::string& text) { prompts.message(text, "Settings", Icon::Warning); });
    const fs::path squatter = temporaryNameFor(dir / "cube.ini", ::getpid());
    fs::create_directory(squatter);  // the temporary cannot be created
    EXPECT_FALSE(settings.writeStopAt(17));
    EXPECT_FALSE(settings.writeStopAt(18));
    EXPECT_EQ(prompts.shown.size(), 1u);
    fs::remove(squatter);
    EXPECT_TRUE(settings.writeStopAt(19));
    fs::create_directory(squatter);
    EXPECT_FALSE(settings.writeStopAt(20));
    EXPECT_EQ(prompts.shown.size(), 1u) << "a full disk brings up one message, not one per change";
    EXPECT_EQ(settings.load().stopAt, 20) << "the change holds in memory";
    fs::remove(squatter);
}

TEST(FailedSave, TheLoaderTellsATableFileItCannotWriteAndGoesOn) {
    ASSERT_TRUE(testing::loadTestTables().ready());
    TempFolder dir("loader-fsize");
    for (const auto& e : fs::directory_iterator(testing::testDataFolder()))
        if (e.is_regular_file() && e.path().filename() != "flipUDslicex.move" && e.path().extension() != ".ini")
            fs::copy_file(e.path(), dir / e.path().filename().string());
    const int status = testing::inChild([&] {
        testing::limitFileSize(1 << 20);  // the move table has 6.6 MB
        RecordingProgress progress;
        ScriptedPrompts prompts;
        TableLoader loader(dir.path(), progress, prompts);
        loader.threads = 1;
        if (loader.startUp(false, false) != StartResult::Ready) return 1;
        if (prompts.shown.size() != 1 || prompts.shown[0].text != "Unable to write flipUDslicex.move.") return 2;
        return loader.current().ready() ? 0 : 3;
    });
    EXPECT_EQ(status, 0);
    EXPECT_FALSE(fs::exists(dir / "flipUDslicex.move"));
    for (const auto& e : fs::directory_iterator(dir.path()))
        EXPECT_NE(e.path().filename().string().front(), '.') << "a temporary was left: " << e.path();
}

}  // namespace
}  // namespace tx
