// Cancelling a table build through the progress: the build stops at the next check point,
// leaves neither the table file nor a temporary in the folder, the loader holds no tables and
// tells nothing; a later build without a cancel makes the table.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/recording_progress.hpp"
#include "support/scripted_prompts.hpp"
#include "support/temp_folder.hpp"
#include "support/test_tables.hpp"
#include "tables/loader.hpp"
#include "tables/table_files.hpp"

namespace tx {
namespace {

namespace fs = std::filesystem;

// Asks to cancel from the `after`-th pump on, once a label starting with `during` was shown,
// and counts the pumps that still came after it first said so.
class CancellingProgress : public RecordingProgress {
public:
    CancellingProgress(std::string during, int after) : during_(std::move(during)), after_(after) {}
    void setLabel(const std::string& text) override {
        RecordingProgress::setLabel(text);
        if (text.rfind(during_, 0) == 0) armed_ = true;
    }
    void pump() override {
        RecordingProgress::pump();
        if (armed_) ++armedPumps_;
        if (told_) ++pumpsAfterCancel;
    }
    bool cancelRequested() const override {
        const bool cancel = armed_ && armedPumps_ >= after_;
        told_ = told_ || cancel;
        return cancel;
    }
    bool told() const { return told_; }
    int pumpsAfterCancel = 0;

private:
    std::string during_;
    int after_;
    bool armed_ = false;
    int armedPumps_ = 0;
    mutable bool told_ = false;
};

// A folder with the shared test tables except the named ones.
class TableFolder : public testing::TempFolder {
public:
    explicit TableFolder(const std::vector<std::string>& except) : testing::TempFolder("cancel") {
        for (const auto& e : fs::directory_iterator(testing::testDataFolder())) {
            const std::string name = e.path().filename().string();
            if (!e.is_regular_file() || e.path().extension() == ".ini") continue;
            if (std::find(except.begin(), except.end(), name) == except.end()) fs::copy_file(e.path(), path() / name);
        }
    }
    std::vector<std::string> temporaries() const {
        std::vector<std::string> found;
        for (const auto& e : fs::directory_iterator(path()))
            if (e.path().filename().string().find(".tmp-") != std::string::npos) found.push_back(e.path().filename());
        return found;
    }
};

class CancelBuild : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(testing::loadTestTables().ready()); }
    ScriptedPrompts prompts;
};

TEST_F(CancelBuild, AStartUpCancelledWhileATableIsGeneratedLoadsNothingAndAStartAfterBuildsIt) {
    TableFolder folder({"fullCornerF.prun"});
    {
        CancellingProgress progress("Creating fullCornerF.prun", 3);
        TableLoader loader(folder.path(), progress, prompts);
        loader.threads = 2;  // the other worker stops too
        EXPECT_EQ(loader.startUp(false, false), StartResult::Cancelled);
        EXPECT_TRUE(progress.told());
        EXPECT_EQ(progress.pumpsAfterCancel, 0) << "the build went on after the cancel";
        EXPECT_FALSE(loader.current().ready());
        EXPECT_FALSE(progress.visible);
        EXPECT_TRUE(prompts.shown.empty());
        EXPECT_FALSE(fs::exists(folder / "fullCornerF.prun"));
        EXPECT_TRUE(folder.temporaries().empty());
    }
    RecordingProgress progress;
    TableLoader loader(folder.path(), progress, prompts);
    ASSERT_EQ(loader.startUp(false, false), StartResult::Ready);
    EXPECT_TRUE(loader.current().ready());
    EXPECT_EQ(testing::readFile(folder / "fullCornerF.prun"),
              testing::readFile(fs::path(testing::testDataFolder()) / "fullCornerF.prun"));
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(CancelBuild, ACancelledSwitchOfTheMoveSetLeavesNoTablesUntilTheNextSwitch) {
    TableFolder folder({"fullCornerFs.prun"});
    CancellingProgress progress("Creating fullCornerFs.prun", 2);
    TableLoader loader(folder.path(), progress, prompts, testing::loadTestTables());
    EXPECT_FALSE(loader.switchMode(true, false));
    EXPECT_TRUE(progress.told());
    EXPECT_FALSE(loader.current().ready());
    EXPECT_NE(loader.current().coords, nullptr);  // kept for the next switch
    EXPECT_FALSE(progress.visible);
    EXPECT_FALSE(fs::exists(folder / "fullCornerFs.prun"));
    EXPECT_TRUE(folder.temporaries().empty());
    EXPECT_TRUE(prompts.shown.empty());

    RecordingProgress plain;
    TableLoader again(folder.path(), plain, prompts, loader.current());
    EXPECT_TRUE(again.switchMode(true, false));
    EXPECT_TRUE(again.current().ready());
    EXPECT_TRUE(again.current().sliceMode());
    EXPECT_TRUE(fs::exists(folder / "fullCornerFs.prun"));
}

// The centre table is cancelled while its classes are analysed, before the 560 MB working
// array is made: no file, no message beyond the build question, the option stays off.
TEST_F(CancelBuild, ACancelledCentreBuildIsNotToldAndLeavesNoFile) {
    testing::TempFolder folder("cancel");
    CancellingProgress progress("Analyzing...", 50);
    prompts.answers = {Answer::Yes};
    TableLoader loader(folder.path(), progress, prompts, testing::loadTestTables());
    EXPECT_FALSE(loader.loadCenterTables());
    EXPECT_TRUE(progress.told());
    EXPECT_EQ(progress.pumpsAfterCancel, 0);
    ASSERT_EQ(prompts.shown.size(), 1u);  // the build question only
    EXPECT_NE(prompts.shown[0].text.find("430 MB file"), std::string::npos);
    EXPECT_FALSE(loader.current().hasCenter());
    EXPECT_TRUE(loader.current().ready());  // the standard tables stay
    EXPECT_FALSE(progress.visible);
    EXPECT_TRUE(fs::is_empty(folder.path()));
}

// A write given up in the middle of its blocks keeps nothing.
TEST_F(CancelBuild, AWriteCancelledBetweenBlocksLeavesNoFile) {
    testing::TempFolder folder("cancel");
    const std::vector<unsigned char> bytes(10000, 7);
    struct Stop {};
    int blocks = 0;
    EXPECT_THROW(writeTableFile(folder / "t.prun", bytes.data(), bytes.size(), 1000,
                                [&](std::uint64_t b) {
                                    ++blocks;
                                    if (b == 3) throw Stop{};
                                }),
                 Stop);
    EXPECT_EQ(blocks, 4);
    EXPECT_TRUE(fs::is_empty(folder.path()));
}

}  // namespace
}  // namespace tx
