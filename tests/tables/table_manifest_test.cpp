// Table checksums: the checksum itself, the manifest beside the files, the loader's answer to a
// file that changed, and "tesserix-cli tables --verify".
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <sys/wait.h>

#include "support/recording_progress.hpp"
#include "support/scripted_prompts.hpp"
#include "support/temp_folder.hpp"
#include "support/test_tables.hpp"
#include "tables/loader.hpp"
#include "tables/table_files.hpp"
#include "tables/table_manifest.hpp"

namespace tx {
namespace {

namespace fs = std::filesystem;
using testing::readFile;
using testing::TempFolder;
using testing::writeFile;

void flipByte(const fs::path& file, std::size_t at) {
    std::string bytes = readFile(file);
    ASSERT_LT(at, bytes.size());
    bytes[at] = static_cast<char>(bytes[at] ^ 0x40);
    writeFile(file, bytes);
}

TEST(TableChecksumTest, KnownValuesAndAnySplitGivesTheSameSum) {
    EXPECT_EQ(tableChecksum("", 0), 0xEF46DB3751D8E999ull);
    EXPECT_EQ(tableChecksum("a", 1), 0xD24EC4F1A98C6E5Bull);
    EXPECT_EQ(tableChecksum("abc", 3), 0x44BC2CF5AD770999ull);

    std::mt19937 rng(7);
    std::string data(1000, '\0');
    for (char& c : data) c = static_cast<char>(rng());
    const std::uint64_t whole = tableChecksum(data.data(), data.size());
    for (std::size_t a = 0; a < data.size(); a += 37) {
        for (std::size_t b = a; b < data.size(); b += 101) {
            TableChecksum sum;
            sum.update(data.data(), a);
            sum.update(data.data() + a, b - a);
            sum.update(data.data() + b, data.size() - b);
            ASSERT_EQ(sum.digest(), whole) << a << " " << b;
        }
    }
    data[500] ^= 1;
    EXPECT_NE(tableChecksum(data.data(), data.size()), whole);
}

TEST(TableManifestTest, WritingATableRecordsItsChecksumAndAChangedByteIsFound) {
    TempFolder folder("manifest");
    std::string a(100000, 'a'), b(3000, 'b');
    ASSERT_TRUE(writeTableFile(folder / "one.prun", a.data(), a.size()));
    ASSERT_TRUE(writeTableFile(folder / "two.prun", b.data(), b.size()));
    const auto recorded = readTableManifest(folder.path());
    ASSERT_EQ(recorded.size(), 2u);
    EXPECT_EQ(recorded.at("one.prun").bytes, a.size());
    EXPECT_EQ(recorded.at("two.prun").checksum, tableChecksum(b.data(), b.size()));
    // The table files keep their exact bytes.
    EXPECT_EQ(readFile(folder / "one.prun"), a);

    EXPECT_EQ(checkTableFile(folder.path(), "one.prun"), TableFileState::Matches);
    EXPECT_EQ(checkTableFile(folder.path(), "three.prun"), TableFileState::NotRecorded);
    flipByte(folder / "one.prun", 77777);
    EXPECT_EQ(checkTableFile(folder.path(), "one.prun"), TableFileState::Differs);
    EXPECT_EQ(checkTableFile(folder.path(), "two.prun"), TableFileState::Matches);
    writeFile(folder / "two.prun", b + "x");
    EXPECT_EQ(checkTableFile(folder.path(), "two.prun"), TableFileState::WrongSize);

    // Rewriting a table replaces its line and keeps the others; lines it cannot read are skipped.
    writeFile(folder / kTableManifestName, readFile(folder / kTableManifestName) + "garbage line\nzz 1 x\n");
    ASSERT_TRUE(writeTableFile(folder / "one.prun", a.data(), a.size()));
    EXPECT_EQ(checkTableFile(folder.path(), "one.prun"), TableFileState::Matches);
    EXPECT_EQ(readTableManifest(folder.path()).size(), 2u);
}

// A copy of the shared test tables with a manifest of its own.
class TableCopy : public TempFolder {
public:
    TableCopy() : TempFolder("manifest-copy") {
        for (const char* name : {"RawFlipSlice", "flipUDslicex.move", "phase1PF.prun", "phase2P.prun",
                                 "fullCornerF.prun", "fullCornerFs.prun"}) {
            const std::string bytes = readFile(fs::path(testing::testDataFolder()) / name);
            writeFile(*this / name, bytes);
            recordTableChecksum(path(), name, {tableChecksum(bytes.data(), bytes.size()), bytes.size()});
        }
    }
};

TEST(TableManifestTest, LoaderReportsAFlippedByteAndBuildsTheFileAgain) {
    ASSERT_TRUE(testing::loadTestTables().ready());
    TableCopy folder;
    const std::string original = readFile(folder / "fullCornerF.prun");
    flipByte(folder / "fullCornerF.prun", 123456);

    RecordingProgress progress;
    ScriptedPrompts prompts;
    TableLoader loader(folder.path(), progress, prompts);
    loader.threads = 2;
    ASSERT_EQ(loader.startUp(false, false), StartResult::Ready);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text,
              "The table file fullCornerF.prun does not match the checksum recorded when it was written. It will be "
              "created again.");
    EXPECT_EQ(readFile(folder / "fullCornerF.prun"), original);
    EXPECT_EQ(checkTableFile(folder.path(), "fullCornerF.prun"), TableFileState::Matches);
    bool rebuilt = false;
    for (const auto& r : loader.reports) rebuilt |= r.name == "fullCornerF.prun" && r.built;
    EXPECT_TRUE(rebuilt);
    for (const auto& r : loader.reports) {
        if (r.name != "fullCornerF.prun") {
            EXPECT_FALSE(r.built) << r.name;
        }
    }
}

struct CliRun {
    int status = -1;
    std::string out;
};
CliRun verify(const fs::path& folder) {
    CliRun run;
    const std::string command = std::string(TESSERIX_CLI) + " tables --verify --data-dir '" + folder.string() + "' 2>&1";
    FILE* p = ::popen(command.c_str(), "r");
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) run.out.append(buf, n);
    const int raw = ::pclose(p);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return run;
}

TEST(TableManifestTest, VerifyCommandExitsOneOnAFlippedByte) {
    TableCopy folder;
    CliRun clean = verify(folder.path());
    EXPECT_EQ(clean.status, 0) << clean.out;
    EXPECT_NE(clean.out.find("phase1PF.prun            28181682 ok"), std::string::npos) << clean.out;
    EXPECT_EQ(clean.out.find("mismatch"), std::string::npos) << clean.out;

    flipByte(folder / "phase2P.prun", 22321151);  // the last byte
    CliRun flipped = verify(folder.path());
    EXPECT_EQ(flipped.status, 1) << flipped.out;
    EXPECT_NE(flipped.out.find("phase2P.prun             22321152 checksum mismatch"), std::string::npos) << flipped.out;
    EXPECT_NE(flipped.out.find("RawFlipSlice               257720 ok"), std::string::npos) << flipped.out;

    // A file without a recorded checksum is listed but does not fail the check.
    fs::remove(folder / kTableManifestName);
    CliRun unrecorded = verify(folder.path());
    EXPECT_EQ(unrecorded.status, 0) << unrecorded.out;
    EXPECT_NE(unrecorded.out.find("phase2P.prun             22321152 no checksum recorded"), std::string::npos);
}

}  // namespace
}  // namespace tx
