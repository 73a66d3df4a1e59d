// The workspace file: the three line forms, loading rules, failures and round trips.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include "list_support.hpp"

#include "cube/facelet_symmetry.hpp"
#include "workspace/workspace_file.hpp"

namespace tx {
namespace {

namespace fs = std::filesystem;
using testing::cubeOf;
using testing::ListRig;
using testing::readFile;
using testing::TempFolder;
using testing::solves;
using testing::writeFile;

const std::string kSolvedFacelets = "UF UR UB UL DF DR DB DL FR FL BR BL UFR URB UBL ULF DRF DFL DLB DBR ";

// Loads text written to a file into a fresh list.
struct Loaded {
    ListRig rig;
    LoadResult result;
    Loaded(const std::string& content, bool ignoreIso = false) {
        TempFolder dir("load");
        writeFile(dir / "ws.txt", content);
        rig.list.options.ignoreIsoOnLoad = ignoreIso;
        result = loadWorkspace(rig.list, dir / "ws.txt");
    }
    const Entry& at(int i) const { return rig.list.at(i); }
};

void fillThreeForms(CubeList& list) {
    list.addCube(FaceletCube(), {});
    Entry b;
    b.cube = cubeOf("R U");
    b.setSolverText("U' R'  (2f)", 2);
    b.patternName = "pair";
    list.addCube(b, {});
    Entry c;
    c.cube = cubeOf("F");
    c.setSolverText("F'  (1f)", 1);
    c.setOptimalManeuver("F'  (1f*)", 1, true);
    list.addCube(c, {});
}

TEST(SaveWorkspace, WritesTheThreeLineFormsWithCrLf) {
    ListRig rig;
    fillThreeForms(rig.list);
    TempFolder dir("save");
    const SaveResult r = saveWorkspace(rig.list, dir / "ws.txt");
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(readFile(dir / "ws.txt"), kSolvedFacelets + " \r\n" + "R U  (2f)   //pair\r\n" + "F  (1f*) \r\n");
    EXPECT_FALSE(rig.list.modified);
    EXPECT_EQ(rig.list.workspaceFile, (dir / "ws.txt").string());
    EXPECT_EQ(rig.captions.back(), "ws.txt - Tesserix 5.00s");
    EXPECT_TRUE(rig.prompts.shown.empty());
    // Nothing but the file itself is left in the folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(SaveWorkspace, SavedAndLoadedGivesTheSameList) {
    ListRig rig;
    fillThreeForms(rig.list);
    TempFolder dir("trip");
    ASSERT_TRUE(saveWorkspace(rig.list, dir / "ws.txt").ok);
    Loaded back(readFile(dir / "ws.txt"));
    ASSERT_EQ(back.rig.list.size(), 3u);
    EXPECT_EQ(back.at(0).cube.f, FaceletCube().f);
    EXPECT_EQ(back.at(0).solverText, "");
    EXPECT_EQ(back.at(0).optimalText, "Status: Not Running");
    EXPECT_EQ(back.at(1).cube.f, cubeOf("R U").f);
    EXPECT_EQ(back.at(1).solverText, "U' R'  (2f)");
    EXPECT_EQ(back.at(1).patternName, "pair");
    EXPECT_FALSE(back.at(1).showSolver);
    EXPECT_EQ(back.at(1).bestLength, 31);
    EXPECT_EQ(back.at(2).cube.f, cubeOf("F").f);
    EXPECT_EQ(back.at(2).optimalText, "F'  (1f*)");
    EXPECT_TRUE(back.at(2).useOptimal);
    EXPECT_EQ(back.at(2).optimalLength, 1);
    EXPECT_EQ(back.at(2).solverText, "");  // the two-phase maneuver is not written
}

TEST(LoadWorkspace, LineEndsNamesAndCaptions) {
    Loaded l("R U R' U'   //  a name \t\r\nF\r\n\r\nB2 // \nD");
    EXPECT_EQ(l.result.lines, 5);
    ASSERT_EQ(l.rig.list.size(), 5u);  // IgnoreIsoOnLoad is off: every line is added
    EXPECT_EQ(l.at(0).cube.f, cubeOf("R U R' U'").f);
    EXPECT_EQ(l.at(0).patternName, "a name");
    EXPECT_EQ(l.at(0).solverText, "U R U' R' ");  // no length mark
    EXPECT_EQ(l.at(1).cube.f, cubeOf("F").f);
    EXPECT_EQ(l.at(2).cube.f, FaceletCube().f);  // an empty line is the solved cube
    EXPECT_EQ(l.at(2).solverText, "");
    EXPECT_EQ(l.at(3).cube.f, cubeOf("B2").f);
    EXPECT_EQ(l.at(3).patternName, "");
    EXPECT_EQ(l.at(4).cube.f, cubeOf("D").f);
    const auto& c = l.rig.captions;
    ASSERT_GE(c.size(), 3u);
    EXPECT_EQ(c.front(), "loading, press ESC to cancel... ws.txt - Tesserix 5.00s");
    EXPECT_EQ(c[1], "loading cube 1, press ESC to cancel... ws.txt - Tesserix 5.00s");
    EXPECT_EQ(c[5], "loading cube 5, press ESC to cancel... ws.txt - Tesserix 5.00s");
    EXPECT_EQ(c.back(), "ws.txt - Tesserix 5.00s");
}

TEST(LoadWorkspace, LastLineWithoutLineEnd) {
    Loaded l("R\nU");
    ASSERT_EQ(l.rig.list.size(), 2u);
    EXPECT_EQ(l.at(1).cube.f, cubeOf("U").f);
}

TEST(LoadWorkspace, The300CharacterLimit) {
    const std::string longest = "R" + std::string(297, ' ');  // 298 characters
    Loaded ok(longest + "\r\n" + longest + "\nU\n");
    EXPECT_FALSE(ok.result.tooLong);
    EXPECT_EQ(ok.rig.list.size(), 3u);
    EXPECT_TRUE(ok.rig.prompts.shown.empty());

    Loaded bad("F\n" + longest + " \nU\n");  // 299 characters before the LF
    EXPECT_TRUE(bad.result.tooLong);
    EXPECT_EQ(bad.result.stoppedAtLine, 2);
    ASSERT_EQ(bad.rig.prompts.shown.size(), 1u);
    EXPECT_EQ(bad.rig.prompts.shown[0].text, "No valid Input. Loading aborted.");
    EXPECT_EQ(bad.rig.prompts.shown[0].caption, "");
    EXPECT_EQ(bad.rig.prompts.shown[0].buttons, Buttons::Ok);
    ASSERT_EQ(bad.rig.list.size(), 1u);  // what was loaded before stays
    EXPECT_EQ(bad.at(0).cube.f, cubeOf("F").f);
    EXPECT_EQ(bad.rig.captions.back(), "ws.txt - Tesserix 5.00s");

    Loaded last("F\nU" + std::string(298, ' '));  // 299 characters as the last line
    EXPECT_FALSE(last.result.tooLong);
    EXPECT_EQ(last.rig.list.size(), 2u);
}

TEST(LoadWorkspace, OptimalLinesAndTheMetricLetter) {
    Loaded same("R U  (2f*)   //same\n");
    ASSERT_EQ(same.rig.list.size(), 1u);
    EXPECT_EQ(same.at(0).cube.f, cubeOf("R U").f);
    EXPECT_EQ(same.at(0).optimalText, "U' R'  (2f*)");
    EXPECT_TRUE(same.at(0).useOptimal);
    EXPECT_EQ(same.at(0).optimalLength, 2);
    EXPECT_EQ(same.at(0).solverText, "");
    // What the texts say is kept as data: the reader is the one place that reads them.
    EXPECT_TRUE(same.at(0).hasOptimalManeuver());
    EXPECT_EQ(same.at(0).optimalMark, 2);
    EXPECT_EQ(same.at(0).solverMark, -1);

    Loaded other("R U  (2s*)   //other\n");
    ASSERT_EQ(other.rig.list.size(), 1u);
    EXPECT_EQ(other.at(0).cube.f, cubeOf("R U").f);
    EXPECT_EQ(other.at(0).optimalText, "Status: Not running");
    EXPECT_EQ(other.at(0).solverText, "U' R'  (2s*)");
    EXPECT_FALSE(other.at(0).useOptimal);
    EXPECT_EQ(other.at(0).optimalLength, 30);
    EXPECT_TRUE(other.at(0).optimalIsStatus());
    EXPECT_EQ(other.at(0).solverMark, -1) << "a mark of the other metric states no length here";

    Loaded plain("R U F  (3f)\nR U F\nD  (12f) R\n");
    ASSERT_EQ(plain.rig.list.size(), 3u);
    EXPECT_EQ(plain.at(0).solverMark, 3);
    EXPECT_EQ(plain.at(1).solverMark, -1);
    EXPECT_TRUE(plain.at(1).optimalIsStatus());
    EXPECT_EQ(plain.at(0).bestLength, 31) << "loading never sets the length a search found";
}

TEST(LoadWorkspace, IgnoreIsoOnLoadKeepsOnlyTheFirst) {
    const std::string file = "R U\nL' U'\nF\nR U\n";  // L' U' is the mirror image of R U
    EXPECT_EQ(Loaded(file, false).rig.list.size(), 4u);
    Loaded l(file, true);
    ASSERT_EQ(l.rig.list.size(), 2u);
    EXPECT_EQ(l.at(1).cube.f, cubeOf("F").f);
}

TEST(LoadWorkspace, FaceletLines) {
    FaceletCube scrambled = cubeOf("R U F' D2 L B'");
    Loaded l(scrambled.pieceList() + "   //cube\n" + kSolvedFacelets + "\n");
    ASSERT_EQ(l.rig.list.size(), 2u);
    EXPECT_EQ(l.at(0).cube.f, scrambled.f);
    EXPECT_EQ(l.at(0).solverText, "");
    EXPECT_EQ(l.at(0).patternName, "cube");
    EXPECT_EQ(l.at(1).cube.f, FaceletCube().f);
}

TEST(LoadWorkspace, FaceletLineWithUnknownFaceletsKeepsThem) {
    // A facelet line holding "N" has not eight of every letter; it is still the partially
    // defined cube that was saved, not a maneuver made of its letters.
    FaceletCube partial;
    partial.f[7] = partial.f[19] = kUndefinedFacelet;  // the UF edge
    partial.f[35] = kUndefinedFacelet;                  // one facelet of DBR
    ListRig rig;
    rig.list.addCube(partial, {});
    TempFolder dir("partial");
    ASSERT_TRUE(saveWorkspace(rig.list, dir / "ws.txt").ok);
    const std::string text = readFile(dir / "ws.txt");
    EXPECT_EQ(text.substr(0, 3), "NN ");
    Loaded back(text);
    ASSERT_EQ(back.rig.list.size(), 1u);
    EXPECT_EQ(back.at(0).cube.f, partial.f);
    EXPECT_EQ(back.at(0).solverText, "");
}

// 47 moves cycling U R F D L B with one F left out: with the metric letter of the mark the
// text holds eight of every face letter.
std::string fortySevenMoves() {
    std::vector<Move> moves;
    for (int i = 0; i < 48; ++i)
        if (i != 44) moves.push_back({std::uint8_t(i % 6), 1});
    return writeManeuver(moves.data(), 47, 'f', false);
}

TEST(LoadWorkspace, ManeuverWithEightOfEachLetterReadsAsFacelets) {
    const std::string g = fortySevenMoves();
    ASSERT_NE(g.find("(47f)"), std::string::npos);
    Loaded l(g + "\n");
    ASSERT_EQ(l.rig.list.size(), 1u);
    FaceletCube expected;
    expected.readPieceList(g);
    EXPECT_EQ(l.at(0).cube.f, expected.f);
    EXPECT_EQ(l.at(0).solverText, "");
}

TEST(SaveWorkspace, AManeuverThatWouldReadBackWrongIsWrittenAsFacelets) {
    const std::string g = fortySevenMoves();
    Entry e;
    e.cube = cubeOf(g.substr(0, g.find(" (")));
    e.solverText = inverseManeuver(g);
    ASSERT_TRUE(solves(e.cube, e.solverText));
    ListRig rig;
    rig.list.addCube(e, {});
    TempFolder dir("fallback");
    const SaveResult r = saveWorkspace(rig.list, dir / "ws.txt");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.asFacelets, 1);
    ASSERT_EQ(rig.prompts.shown.size(), 1u);
    EXPECT_EQ(rig.prompts.shown[0].text,
              "1 cube was saved by its facelets because its maneuver would not load back as the same cube.");
    Loaded back(readFile(dir / "ws.txt"));
    ASSERT_EQ(back.rig.list.size(), 1u);
    EXPECT_EQ(back.at(0).cube.f, e.cube.f);
}

TEST(SaveWorkspace, OverlongLinesAndOddNamesStayReadable) {
    MersenneTwister rng(51);
    ListRig rig;
    rig.list.isoCheck = false;
    auto longManeuver = testing::entryWithManeuver(rng, 150);
    ASSERT_GT(longManeuver->solverText.size(), 298u);
    rig.list.addCube(*longManeuver, {});
    auto longName = testing::entryWithManeuver(rng, 20);
    longName->patternName = std::string(400, 'n');
    rig.list.addCube(*longName, {});
    auto brokenName = testing::entryWithManeuver(rng, 5);
    brokenName->patternName = std::string("two\r\nlines\0x", 12);
    rig.list.addCube(*brokenName, {});
    TempFolder dir("odd");
    ASSERT_TRUE(saveWorkspace(rig.list, dir / "ws.txt").ok);
    const std::string text = readFile(dir / "ws.txt");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3);
    Loaded back(text);
    EXPECT_FALSE(back.result.tooLong);
    ASSERT_EQ(back.rig.list.size(), 3u);
    EXPECT_EQ(back.at(0).cube.f, longManeuver->cube.f);
    EXPECT_EQ(back.at(1).cube.f, longName->cube.f);
    EXPECT_EQ(back.at(1).solverText, longName->solverText);
    EXPECT_EQ(back.at(1).patternName, std::string(back.at(1).patternName.size(), 'n'));
    EXPECT_GT(back.at(1).patternName.size(), 200u);
    EXPECT_EQ(back.at(2).patternName, "two  lines x");
}

TEST(LoadWorkspace, QuestionsBeforeLoadingIntoAFullList) {
    TempFolder dir("ask");
    writeFile(dir / "ws.txt", "F\nB\n");
    ListRig rig;
    Entry kept;
    kept.cube = cubeOf("R");
    kept.setSolverText("R'  (1f)", 1);
    rig.list.addCube(kept, {});
    const std::string before = rig.list.workspaceFile;

    rig.prompts.answers = {Answer::Cancel};
    LoadResult r = loadWorkspace(rig.list, dir / "ws.txt");
    EXPECT_TRUE(r.declined);
    ASSERT_EQ(rig.prompts.shown.size(), 1u);
    EXPECT_EQ(rig.prompts.shown[0].text, "Do you want to discard the Cubes in the Main Window before loading the maneuvers?");
    EXPECT_EQ(rig.prompts.shown[0].buttons, Buttons::YesNoCancel);
    EXPECT_EQ(rig.list.size(), 1u);
    EXPECT_EQ(rig.list.workspaceFile, before);

    rig.prompts.answers = {Answer::No};
    loadWorkspace(rig.list, dir / "ws.txt");
    EXPECT_EQ(rig.list.size(), 3u);  // appended

    rig.list.addCube(cubeOf("R U"), {});  // a pattern: no generator
    rig.prompts.shown.clear();
    rig.prompts.answers = {Answer::Yes, Answer::No};
    r = loadWorkspace(rig.list, dir / "ws.txt");
    EXPECT_TRUE(r.declined);
    ASSERT_EQ(rig.prompts.shown.size(), 2u);
    EXPECT_EQ(rig.prompts.shown[1].text, "All patterns without generators in the Output Window will be discarded. Continue anyway?");
    EXPECT_EQ(rig.prompts.shown[1].caption, "Maneuver Window");
    EXPECT_EQ(rig.list.size(), 4u);

    rig.prompts.answers = {Answer::Yes, Answer::Yes};
    auto old = rig.list.entries()[0];
    r = loadWorkspace(rig.list, dir / "ws.txt");
    EXPECT_EQ(r.added, 2);
    EXPECT_EQ(rig.list.size(), 2u);
    EXPECT_TRUE(old->removed);
    EXPECT_EQ(rig.list.anchor, -1);
}

TEST(LoadWorkspace, EscapeStopsAfterTheCurrentCube) {
    TempFolder dir("esc");
    writeFile(dir / "ws.txt", "F\nB\nU\nD\n");
    ListRig rig;
    rig.list.hooks.pump = [&] { rig.list.cancelRequested = rig.list.size() >= 2; };
    const LoadResult r = loadWorkspace(rig.list, dir / "ws.txt");
    EXPECT_TRUE(r.cancelled);
    EXPECT_EQ(rig.list.size(), 2u);
}

TEST(LoadWorkspace, MissingFilesAndFoldersAreReported) {
    ListRig rig;
    rig.list.addCube(cubeOf("R"), {});
    TempFolder dir("missing");
    LoadResult r = loadWorkspace(rig.list, dir / "none.txt");
    EXPECT_FALSE(r.opened);
    ASSERT_EQ(rig.prompts.shown.size(), 1u);
    EXPECT_EQ(rig.prompts.shown[0].text.rfind("Cannot open file", 0), 0u);
    EXPECT_EQ(rig.list.size(), 1u);
    r = loadWorkspace(rig.list, dir.path());
    EXPECT_FALSE(r.opened);
    EXPECT_EQ(rig.list.size(), 1u);
}

TEST(LoadWorkspace, GarbageNeverCrashes) {
    MersenneTwister rng(52);
    Loaded nul(std::string("R\0U\n", 4));
    ASSERT_EQ(nul.rig.list.size(), 1u);
    EXPECT_EQ(nul.at(0).cube.f, cubeOf("R U").f);
    for (int round = 0; round < 40; ++round) {
        std::string bytes(rng.below(3000), '\0');
        for (char& b : bytes) {
            const std::uint32_t r = rng.below(100);
            b = r < 10 ? '\n' : r < 15 ? '\r' : r < 20 ? '\0' : r < 60 ? "URFDLBxyzN'2 (*)/"[rng.below(17)] : char(rng.below(256));
        }
        Loaded l(bytes);
        for (const auto& e : l.rig.list.entries()) {
            for (std::uint8_t v : e->cube.f) ASSERT_LE(v, kUndefinedFacelet);
            // Whatever a line held, the moves before its mark still describe its cube.
            if (!e->solverText.empty() && e->solverText.find("*)") == std::string::npos) {
                EXPECT_TRUE(solves(e->cube, e->solverText)) << ::testing::PrintToString(e->solverText);
            }
        }
        // And the list, saved, reads back as the same cubes (the mark of such a line may hold
        // letters of moves, which the file cannot carry: those are saved by their facelets).
        TempFolder dir("garbage");
        ASSERT_TRUE(saveWorkspace(l.rig.list, dir / "ws.txt").ok);
        Loaded back(readFile(dir / "ws.txt"));
        ASSERT_EQ(back.rig.list.size(), l.rig.list.size());
        for (std::size_t i = 0; i < l.rig.list.size(); ++i) EXPECT_EQ(back.at(int(i)).cube.f, l.at(int(i)).cube.f);
    }
}

TEST(SaveWorkspace, AFailedSaveKeepsTheOldFileAndTheChanges) {
    TempFolder dir("fail");
    const fs::path target = dir / "ws.txt";
    writeFile(target, "old contents\r\n");
    ListRig rig;
    MersenneTwister rng(53);
    rig.list.isoCheck = false;
    for (int i = 0; i < 200; ++i) rig.list.addCube(*testing::entryWithManeuver(rng, 20), {});

    // A folder that does not exist: the temporary file cannot even be created.
    SaveResult r = saveWorkspace(rig.list, dir / "no-such-folder" / "ws.txt");
    EXPECT_FALSE(r.ok);
    ASSERT_EQ(rig.prompts.shown.size(), 1u);
    EXPECT_EQ(rig.prompts.shown[0].caption, "Error");
    EXPECT_EQ(rig.prompts.shown[0].text.rfind("The workspace could not be saved: ", 0), 0u);
    EXPECT_TRUE(rig.list.modified);
    EXPECT_EQ(rig.list.workspaceFile, "untitled.txt");

    // The disk fills up midway: the write fails after some lines.
    struct rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 4000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    r = saveWorkspace(rig.list, target);
    ::setrlimit(RLIMIT_FSIZE, &old);
    ::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(readFile(target), "old contents\r\n");
    EXPECT_TRUE(rig.list.modified);
    EXPECT_EQ(rig.prompts.shown.size(), 2u);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);  // no temporary left

    // A target that is a folder cannot be replaced.
    fs::create_directory(dir / "folder.txt");
    EXPECT_FALSE(saveWorkspace(rig.list, dir / "folder.txt").ok);
    EXPECT_TRUE(fs::is_directory(dir / "folder.txt"));

    // A read-only folder (root may write anyway).
    if (::geteuid() != 0) {
        fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_FALSE(saveWorkspace(rig.list, target).ok);
        fs::permissions(dir.path(), fs::perms::owner_all);
        EXPECT_EQ(readFile(target), "old contents\r\n");
    }

    // Then a save that works replaces the file and keeps its permissions.
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
    r = saveWorkspace(rig.list, target);
    ASSERT_TRUE(r.ok);
    EXPECT_FALSE(rig.list.modified);
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    Loaded back(readFile(target));
    EXPECT_EQ(back.rig.list.size(), 200u);
}

TEST(SaveWorkspace, RandomListsComeBackUnchanged) {
    MersenneTwister rng(54);
    const std::string nameChars = "abcXYZ 019-_/.*()'";
    for (int round = 0; round < 30; ++round) {
        ListRig rig;
        rig.list.isoCheck = false;
        const int n = int(rng.below(25));
        for (int i = 0; i < n; ++i) {
            std::shared_ptr<Entry> e;
            switch (rng.below(4)) {
                case 0: e = testing::entryWithManeuver(rng, 1 + int(rng.below(24))); break;
                case 1: e = testing::entryWithManeuver(rng, 1 + int(rng.below(20)), true); break;
                case 2:
                    e = std::make_shared<Entry>();
                    e->cube = testing::randomFaceletCube(rng);
                    break;
                default:
                    e = std::make_shared<Entry>();
                    e->cube = testing::randomFaceletCube(rng);
                    for (int k = 0; k < 5; ++k) {
                        const int p = int(rng.below(54));
                        if (p % 9 != 4) e->cube.f[p] = kUndefinedFacelet;
                    }
                    break;
            }
            if (rng.below(2)) {
                std::string name;
                for (int k = int(rng.below(30)); k > 0; --k) name += nameChars[rng.below(std::uint32_t(nameChars.size()))];
                e->patternName = std::string(name.c_str() + std::min(name.find_first_not_of(' '), name.size()));
                while (!e->patternName.empty() && e->patternName.back() == ' ') e->patternName.pop_back();
            }
            rig.list.addCube(*e, {});
        }
        TempFolder dir("prop");
        ASSERT_TRUE(saveWorkspace(rig.list, dir / "ws.txt").ok);
        EXPECT_TRUE(rig.prompts.shown.empty());
        Loaded back(readFile(dir / "ws.txt"));
        ASSERT_EQ(back.rig.list.size(), rig.list.size()) << "round " << round;
        for (int i = 0; i < n; ++i) {
            const Entry& a = rig.list.at(i);
            const Entry& b = back.at(i);
            EXPECT_EQ(b.cube.f, a.cube.f) << round << "/" << i;
            EXPECT_EQ(b.patternName, a.patternName) << round << "/" << i;
            if (a.hasOptimalManeuver()) {
                EXPECT_EQ(b.optimalText, a.optimalText);
                EXPECT_TRUE(b.useOptimal);
            } else {
                EXPECT_EQ(b.solverText, a.solverText) << round << "/" << i;
            }
        }
    }
}

}  // namespace
}  // namespace tx
