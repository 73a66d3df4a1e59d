// tesserix-cli batch, run as a process on workspace files.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <thread>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli_runner.hpp"
#include "cube/notation.hpp"
#include "cube/random.hpp"
#include "platform/events.hpp"
#include "platform/prompts.hpp"
#include "solver/drivers.hpp"
#include "workspace/cube_list.hpp"
#include "workspace/workspace_file.hpp"
#include "platform/atomic_file.hpp"
#include "support/scripted_prompts.hpp"

namespace {

namespace fs = std::filesystem;
using tx::testing::readWholeFile;

struct Scratch : tx::testing::TempFolder {
    Scratch() : TempFolder("cli-batch") {}
    void write(const std::string& name, const std::string& text) const { tx::testing::writeFile(path() / name, text); }
};

// Runs "tesserix-cli batch ARGS --data-dir TABLES" in the scratch folder.
tx::testing::CliResult batch(const Scratch& dir, std::vector<std::string> args) {
    args.insert(args.begin(), "batch");
    args.insert(args.end(), {"--data-dir", tx::testing::testTableFolder()});
    return tx::testing::runCli(args, "", dir.path());
}

// The entries a workspace file holds, read the way the program reads it.
struct Workspace {
    tx::QueueEvents events;
    tx::ScriptedPrompts prompts;
    tx::CubeList list{events, prompts};
    explicit Workspace(const fs::path& file) { tx::loadWorkspace(list, file); }
    const tx::Entry& at(int i) const { return list.at(i); }
};

bool solves(const tx::FaceletCube& cube, const std::string& text) {
    tx::FaceletCube c = cube;
    tx::applyManeuver(c, text);
    return c.f == tx::FaceletCube().f;
}

TEST(CliBatch, TwoPhaseToTheTargetKeepsCubesNamesAndProvenLines) {
    Scratch dir;
    tx::MersenneTwister rng(81);
    tx::FaceletCube random;
    tx::randomCube(random, rng);
    const std::string in = "R U F' D2 L B   //six\r\n" + random.pieceList() + "   //random\r\n" +
                           "F  (1f*)   //opt\r\n" + "U R2 F' L D2 B R' U2 F L2 D' B2 R F2 U' L B' D R2 F' U L' B2 D'\n";
    dir.write("in.txt", in);
    const auto r = batch(dir, {(dir / "in.txt").string(), "-o", (dir / "out.txt").string(), "--jobs", "2"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(readWholeFile(dir / "in.txt"), in);  // -o leaves the input alone
    EXPECT_NE(r.err.find("[3/3]"), std::string::npos) << r.err;

    Workspace before(dir / "in.txt"), after(dir / "out.txt");
    ASSERT_EQ(after.list.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(after.at(i).cube.f, before.at(i).cube.f) << i;
        EXPECT_EQ(after.at(i).patternName, before.at(i).patternName) << i;
    }
    for (int i : {0, 1, 3}) {
        const int length = after.at(i).solverMark;  // as the reader found it in the file
        EXPECT_GE(length, 0) << after.at(i).solverText;
        EXPECT_LE(length, 20);
        EXPECT_TRUE(solves(after.at(i).cube, after.at(i).solverText)) << i;
    }
    EXPECT_EQ(after.at(2).optimalText, "F'  (1f*)");
}

TEST(CliBatch, BothEnginesSolveEveryEntry) {
    Scratch dir;
    tx::MersenneTwister rng(17);
    std::string in;
    std::vector<tx::FaceletCube> cubes(6);
    for (auto& c : cubes) {
        tx::randomCube(c, rng);
        in += c.pieceList() + "\n";
    }
    dir.write("in.txt", in);
    for (const char* engine : {"fast", "specified"}) {
        const fs::path out = dir / (std::string(engine) + ".txt");
        const auto r = batch(dir, {(dir / "in.txt").string(), "-o", out.string(), "--engine", engine, "--target", "21"});
        ASSERT_EQ(r.code, 0) << engine << r.err;
        EXPECT_NE(r.err.find("[6/6]"), std::string::npos) << r.err;
        Workspace after(out);
        ASSERT_EQ(after.list.size(), cubes.size());
        for (std::size_t i = 0; i < cubes.size(); ++i) {
            EXPECT_GE(after.at(int(i)).solverMark, 0) << engine << " " << i;
            EXPECT_LE(after.at(int(i)).solverMark, 21) << engine << " " << i;
            EXPECT_TRUE(solves(cubes[i], after.at(int(i)).solverText)) << engine << " " << i;
        }
    }
    EXPECT_EQ(batch(dir, {(dir / "in.txt").string(), "--engine", "slow"}).code, 2);
}

TEST(CliBatch, OptimalOverwritesTheFileSafely) {
    Scratch dir;
    dir.write("ws.txt", "R U F'   //a\nD2 L\n");
    const auto r = batch(dir, {(dir / "ws.txt").string(), "--optimal"});
    ASSERT_EQ(r.code, 0) << r.err;
    Workspace ws(dir / "ws.txt");
    ASSERT_EQ(ws.list.size(), 2u);
    EXPECT_NE(ws.at(0).optimalText.find("(3f*)"), std::string::npos) << ws.at(0).optimalText;
    EXPECT_NE(ws.at(1).optimalText.find("(2f*)"), std::string::npos) << ws.at(1).optimalText;
    EXPECT_EQ(ws.at(0).patternName, "a");
    EXPECT_TRUE(solves(ws.at(0).cube, ws.at(0).optimalText));
    // The program ran in this folder too: nothing but the workspace is left in it.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(CliBatch, FailuresAndUnsolvableCubes) {
    Scratch dir;
    EXPECT_EQ(batch(dir, {(dir / "missing.txt").string()}).code, 2);
    EXPECT_FALSE(fs::exists(dir / "missing.txt"));
    EXPECT_EQ(batch(dir, {}).code, 2);
    EXPECT_EQ(batch(dir, {"x.txt", "--jobs", "many"}).code, 2);

    // A line over the limit: nothing is written, the file stays whole.
    const std::string longLine = "F\n" + std::string(400, 'R') + "\nU\n";
    dir.write("long.txt", longLine);
    auto r = batch(dir, {(dir / "long.txt").string()});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(readWholeFile(dir / "long.txt"), longLine);

    // A partially defined cube is kept as it is; the others are solved.
    tx::FaceletCube partial;
    partial.f[7] = partial.f[19] = tx::kUndefinedFacelet;
    dir.write("partial.txt", partial.pieceList() + "   //open\nR U\n");
    r = batch(dir, {(dir / "partial.txt").string()});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("cube 1 cannot be solved"), std::string::npos) << r.err;
    Workspace ws(dir / "partial.txt");
    ASSERT_EQ(ws.list.size(), 2u);
    EXPECT_EQ(ws.at(0).cube.f, partial.f);
    EXPECT_EQ(ws.at(0).patternName, "open");
    EXPECT_TRUE(solves(ws.at(1).cube, ws.at(1).solverText));
}

// Where -o points decides how the file is written: through pipes and devices, never replacing
// them; a read-only file is refused and left alone; a temporary left by a killed run is
// cleared; "-" is standard output.
TEST(CliBatch, OutputGoesThroughPipesAndDevicesAndRefusesReadOnlyFiles) {
    Scratch dir;
    dir.write("in.txt", "R U   //a\nF\n");
    const std::string in = (dir / "in.txt").string();

    // A FIFO with a reader: the workspace arrives there and the FIFO stays a FIFO.
    ASSERT_EQ(::mkfifo((dir / "pipe.txt").c_str(), 0644), 0);
    std::string piped;
    std::thread reader([&] { piped = readWholeFile(dir / "pipe.txt"); });
    auto r = batch(dir, {in, "-o", (dir / "pipe.txt").string()});
    reader.join();
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(fs::is_fifo(dir / "pipe.txt"));
    EXPECT_NE(piped.find("   //a\r\n"), std::string::npos) << piped;

    // A device: written through, still the device afterwards.
    r = batch(dir, {in, "-o", "/dev/null"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(fs::is_character_file("/dev/null"));

    // Standard output.
    r = batch(dir, {in, "-o", "-"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("   //a\r\n"), std::string::npos) << r.out;
    EXPECT_FALSE(fs::exists(dir / "-"));

    // A read-only file is refused, exit code 2, and keeps its bytes (also when run as root).
    dir.write("ro.txt", "keep me\n");
    fs::permissions(dir / "ro.txt", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    r = batch(dir, {in, "-o", (dir / "ro.txt").string()});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("read-only"), std::string::npos) << r.err;
    EXPECT_EQ(readWholeFile(dir / "ro.txt"), "keep me\n");

    // A temporary of a process that no longer exists goes; one of a live process stays.
    const fs::path stale = tx::temporaryNameFor(dir / "out.txt", 999999999);
    const fs::path live = tx::temporaryNameFor(dir / "out.txt", ::getpid());
    dir.write(stale.filename().string(), "half");
    dir.write(live.filename().string(), "busy");
    r = batch(dir, {in, "-o", (dir / "out.txt").string()});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(live));
    EXPECT_EQ(Workspace(dir / "out.txt").list.size(), 2u);
}

// An endless input (a pipe that never ends) is read up to the documented number of cubes and
// then refused, nothing written, instead of growing without bound.
TEST(CliBatch, EndlessInputIsRefusedAtTheCubeLimit) {
    Scratch dir;
    ASSERT_EQ(::mkfifo((dir / "endless").c_str(), 0644), 0);
    std::signal(SIGPIPE, SIG_IGN);
    std::thread writer([&] {
        const int fd = ::open((dir / "endless").c_str(), O_WRONLY);
        if (fd < 0) return;
        std::string lines;
        for (int i = 0; i < 4096; ++i) lines += "R U\n";
        while (::write(fd, lines.data(), lines.size()) > 0) {
        }
        ::close(fd);
    });
    const auto r = batch(dir, {(dir / "endless").string(), "-o", (dir / "out.txt").string()});
    writer.join();
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("holds more than 500000 cubes"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(dir / "out.txt"));
}

}  // namespace
