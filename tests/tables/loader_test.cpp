#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tables/loader.hpp"
#include "tables/tables.hpp"
#include "support/recording_progress.hpp"
#include "support/scripted_prompts.hpp"
#include "support/temp_folder.hpp"
#include "support/test_tables.hpp"

namespace tx {
namespace {

namespace fs = std::filesystem;

// A fresh folder that can hold copies of the shared test tables.
class TempFolder : public testing::TempFolder {
public:
    TempFolder() : testing::TempFolder("loader") {}
    // Copies the shared test tables (all but `except`) into this folder.
    void copyTables(const std::string& except = "") {
        for (auto& e : fs::directory_iterator(testing::testDataFolder()))
            if (e.is_regular_file() && e.path().filename() != except && e.path().extension() != ".ini")
                fs::copy_file(e.path(), path() / e.path().filename());
    }
};

class LoaderTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(testing::loadTestTables().ready()); }
    RecordingProgress progress;
    ScriptedPrompts prompts;
};

TEST_F(LoaderTest, FirstRunQuestionRefusedCreatesNothing) {
    TempFolder folder;
    prompts.answers = {Answer::No};
    TableLoader loader(folder.path(), progress, prompts);
    EXPECT_EQ(loader.startUp(false, false), StartResult::Declined);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text,
              "Before the first run, Tesserix needs to create files in your Tesserix folder. This may take up to 15 "
              "minutes and about 65 MB of space on your harddisk. Proceed?");
    EXPECT_EQ(prompts.shown[0].icon, Icon::Warning);
    EXPECT_EQ(prompts.shown[0].buttons, Buttons::YesNo);
    EXPECT_TRUE(fs::is_empty(folder.path()));
}

TEST_F(LoaderTest, SecondStartOnlyLoads) {
    TableLoader loader(testing::testDataFolder(), progress, prompts);
    ASSERT_EQ(loader.startUp(false, false), StartResult::Ready);
    EXPECT_TRUE(prompts.shown.empty());
    ASSERT_GE(loader.reports.size(), 6u);
    for (const auto& r : loader.reports) EXPECT_FALSE(r.built) << r.name;
    EXPECT_TRUE(loader.current().ready());
    EXPECT_FALSE(progress.visible);
}

TEST_F(LoaderTest, FileOfTheWrongSizeIsRebuiltWithAMessage) {
    TempFolder folder;
    folder.copyTables("fullCornerF.prun");
    {
        std::ofstream truncated(folder.path() / "fullCornerF.prun", std::ios::binary);
        truncated << "short";
    }
    TableLoader loader(folder.path(), progress, prompts);
    ASSERT_EQ(loader.startUp(false, false), StartResult::Ready);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_NE(prompts.shown[0].text.find("fullCornerF.prun has 5 bytes instead of 1513408"), std::string::npos);
    EXPECT_EQ(fs::file_size(folder.path() / "fullCornerF.prun"), 1513408u);
    bool rebuilt = false;
    for (const auto& r : loader.reports) rebuilt |= r.name == "fullCornerF.prun" && r.built;
    EXPECT_TRUE(rebuilt);
    EXPECT_NE(std::find(progress.labels.begin(), progress.labels.end(), "Creating fullCornerF.prun (1.4 MB)"),
              progress.labels.end());
    // The rebuilt table equals the shared one byte for byte.
    std::ifstream a(folder.path() / "fullCornerF.prun", std::ios::binary), b(fs::path(testing::testDataFolder()) / "fullCornerF.prun", std::ios::binary);
    std::string da((std::istreambuf_iterator<char>(a)), {}), db((std::istreambuf_iterator<char>(b)), {});
    EXPECT_EQ(da, db);
}

TEST_F(LoaderTest, CentreTablesWithoutMemoryOrRefused) {
    TempFolder folder;
    TableLoader loader(folder.path(), progress, prompts, testing::loadTestTables());
    loader.memoryLimit = 1000;
    EXPECT_FALSE(loader.loadCenterTables());
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "Not enough RAM to solve center-twisted Cubes.");
    EXPECT_FALSE(loader.current().hasCenter());

    prompts.shown.clear();
    loader.memoryLimit = 0;
    prompts.answers = {Answer::No};
    EXPECT_FALSE(loader.loadCenterTables());
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text,
              "Tesserix will now create a 430 MB file in your Tesserix folder. This will take up to 4 hours. Proceed?");
    EXPECT_FALSE(loader.current().hasCenter());
    EXPECT_TRUE(fs::is_empty(folder.path()));
    EXPECT_NE(std::find(progress.labels.begin(), progress.labels.end(), "Initializing memory. Please wait..."),
              progress.labels.end());
}

TEST_F(LoaderTest, HugeTableWithoutMemoryOrRefused) {
    TempFolder folder;
    TableLoader loader(folder.path(), progress, prompts, testing::loadTestTables());
    loader.memoryLimit = 1000;
    EXPECT_FALSE(loader.loadHugeTable());
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "Not enough RAM. Tesserix needs 2600 MB. Please close all other applications.");
    EXPECT_FALSE(loader.current().hasHuge());

    prompts.shown.clear();
    loader.memoryLimit = 0;
    prompts.answers = {Answer::No};
    EXPECT_FALSE(loader.loadHugeTable());
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text,
              "Tesserix will now create a 1881 MB file in your Tesserix folder. This will take up to 4 hours. Proceed?");
    EXPECT_FALSE(loader.current().hasHuge());
    EXPECT_TRUE(fs::is_empty(folder.path()));
}

}  // namespace
}  // namespace tx
