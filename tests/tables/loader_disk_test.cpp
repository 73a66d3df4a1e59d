// The loader's refusals and messages when the disk fails it: too little free space before the
// first run, an optional table whose file cannot be read, a table file that cannot be
// written. A fake disk stands in where the real one cannot be made to fail cheaply.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <set>

#include "platform/atomic_file.hpp"
#include "tables/loader.hpp"
#include "support/recording_progress.hpp"
#include "support/scripted_prompts.hpp"
#include "support/temp_folder.hpp"
#include "support/test_tables.hpp"

namespace tx {
namespace {

namespace fs = std::filesystem;

// The real disk, except for the sizes, the free space and the files it is told to fake.
class FakeDisk : public TableDisk {
public:
    std::map<std::string, long long> sizes;  // by file name; -1: absent
    long long free = -1;                     // -1: as the real disk says
    std::set<std::string> unreadable;

    long long fileSize(const fs::path& file) const override {
        auto it = sizes.find(file.filename().string());
        return it != sizes.end() ? it->second : TableDisk::fileSize(file);
    }
    long long freeBytes(const fs::path& folder) const override { return free >= 0 ? free : TableDisk::freeBytes(folder); }
    std::FILE* openForReading(const fs::path& file) const override {
        if (unreadable.count(file.filename().string())) return nullptr;
        return TableDisk::openForReading(file);
    }
};

class LoaderDisk : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(testing::loadTestTables().ready()); }
    RecordingProgress progress;
    ScriptedPrompts prompts;
    testing::TempFolder folder{"loader-disk"};
};

TEST_F(LoaderDisk, TooLittleFreeSpaceBeforeTheFirstRunEndsTheStart) {
    FakeDisk disk;
    disk.sizes["RawFlipSlice"] = 257720;  // not the very first run: no question
    disk.sizes["phase1PF.prun"] = -1;
    disk.free = 69999999;
    TableLoader loader(folder.path(), progress, prompts);
    loader.disk = &disk;
    EXPECT_EQ(loader.startUp(false, false), StartResult::NoDiskSpace);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text,
              "There are less than 65 MB disk space left in your Tesserix folder. The program will exit.");
    EXPECT_EQ(prompts.shown[0].icon, Icon::Error);
    EXPECT_TRUE(fs::is_empty(folder.path()));
    // One byte more and the start goes on (here until the first question, answered No).
    disk.free = 70000000;
    disk.sizes.erase("RawFlipSlice");
    prompts.shown.clear();
    prompts.answers = {Answer::No};
    TableLoader again(folder.path(), progress, prompts);
    again.disk = &disk;
    EXPECT_EQ(again.startUp(false, false), StartResult::Declined);
}

TEST_F(LoaderDisk, OptionalTablesWhoseFilesCannotBeReadAreTold) {
    FakeDisk disk;
    disk.sizes["phase1CntPF.prun"] = static_cast<long long>(TableLoader::kCenterBytes);
    disk.sizes["ubigPF.prun"] = static_cast<long long>(TableLoader::kHugeBytes);
    disk.unreadable = {"phase1CntPF.prun", "ubigPF.prun"};
    TableLoader loader(folder.path(), progress, prompts, testing::loadTestTables());
    loader.disk = &disk;
    EXPECT_FALSE(loader.loadCenterTables());
    EXPECT_FALSE(loader.loadHugeTable());
    ASSERT_EQ(prompts.shown.size(), 2u);
    EXPECT_EQ(prompts.shown[0].text, "Unable to load the 430 MB Solver Table for center-twisted Cubes.");
    EXPECT_EQ(prompts.shown[1].text, "Unable to load the 1881 MB Huge Optimal Solver Table.");
    EXPECT_FALSE(loader.current().hasCenter());
    EXPECT_FALSE(loader.current().hasHuge());
    EXPECT_FALSE(progress.visible);
}

TEST_F(LoaderDisk, ATableThatCannotBeWrittenIsToldAndStillUsed) {
    for (auto& e : fs::directory_iterator(testing::testDataFolder()))
        if (e.is_regular_file() && e.path().filename() != "fullCornerF.prun" && e.path().extension() != ".ini")
            fs::copy_file(e.path(), folder.path() / e.path().filename());
    // A directory on the temporary name makes the write fail.
    const fs::path target = folder.path() / "fullCornerF.prun";
    fs::create_directory(temporaryNameFor(target, ::getpid()));
    TableLoader loader(folder.path(), progress, prompts);
    loader.threads = 1;
    ASSERT_EQ(loader.startUp(false, false), StartResult::Ready);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "Unable to write fullCornerF.prun.");
    EXPECT_FALSE(fs::exists(target));
    EXPECT_TRUE(loader.current().ready());
}

}  // namespace
}  // namespace tx
