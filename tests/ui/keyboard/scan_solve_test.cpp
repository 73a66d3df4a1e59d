// The scan-and-solve sequence step by step, with a fake webcam page and list and a recording
// key output.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "ui/keyboard/scan_solve.hpp"
#include "keyboard_fakes.hpp"

namespace tx {
namespace {

class FakeHost : public ScanSolveHost {
public:
    std::vector<std::string> log;
    std::optional<std::string> solverText;
    char face = 0;
    int scans = 0;

    void selectFace(char f) override {
        face = f;
        log.push_back(std::string("face ") + f);
    }
    void scan() override {
        ++scans;
        log.push_back("scan");
    }
    void transfer() override { log.push_back("transfer"); }
    void processMessages() override { log.push_back("messages"); }
    std::optional<std::string> lastSolverText() override { return solverText; }
    void startTimer(int ms) override { log.push_back("start " + std::to_string(ms)); }
    void setTimerInterval(int ms) override { log.push_back("interval " + std::to_string(ms)); }
    void stopTimer() override { log.push_back("stop"); }
    void keyboardProblem(const std::string& text) override { log.push_back("problem " + text); }

    std::vector<std::string> take() { return std::exchange(log, {}); }
};

struct Sequence : ::testing::Test {
    FakeHost host;
    RecordingKeyOutput out;
    RecordingWait wait;
    KeyTyper typer{out, wait};
    ScanSolveSequence sequence{host, typer};

    std::string typed() {
        std::string t = typedText(out.events);
        out.events.clear();
        return t;
    }
};

using Log = std::vector<std::string>;

TEST_F(Sequence, ScansSixFacesTypingTheTurnsThenTransfersAndTypesTheSolution) {
    host.solverText = "R U' F2 D L2 B'  (6f)";
    sequence.start();
    EXPECT_EQ(host.take(), (Log{"face B", "start 2000"}));
    EXPECT_TRUE(sequence.running());

    const std::vector<std::pair<Log, std::string>> steps = {
        {{"scan", "interval 600"}, "aaa"},  // B
        {{"scan"}, "aaa"},                  // L
        {{"scan"}, "aaa"},                  // F
        {{"scan"}, "yyy"},                  // R
        {{"scan"}, "yy"},                   // U
        {{"scan", "interval 100"}, "yyya"}, // D
        {{"transfer", "messages", "interval 2400"}, ""},
        {{"stop"}, "ifhhsddo"},  // R U' F2 D L2 B' as key letters
    };
    for (std::size_t k = 0; k < steps.size(); ++k) {
        EXPECT_EQ(sequence.step(), int(k));
        wait.waits.clear();
        sequence.tick();
        EXPECT_EQ(host.take(), steps[k].first) << "step " << k;
        EXPECT_EQ(typed(), steps[k].second) << "step " << k;
        // The turns are typed with delay 1, the solution with delay 2.
        for (int w : wait.waits) EXPECT_EQ(w, k == 7 ? 2 : 1) << "step " << k;
    }
    EXPECT_FALSE(sequence.running());
    EXPECT_EQ(host.scans, 6);
    // Further ticks do nothing.
    sequence.tick();
    EXPECT_TRUE(host.take().empty());
}

TEST_F(Sequence, AnEmptyListTypesNoSolution) {
    sequence.start();
    for (int k = 0; k < 8; ++k) sequence.tick();
    EXPECT_EQ(host.log.back(), "stop");
    EXPECT_EQ(typed(), std::string("aaa") + "aaa" + "aaa" + "yyy" + "yy" + "yyya");
}

TEST_F(Sequence, ATickArrivingWhileKeysAreTypedIsIgnored) {
    // The wait between keys processes window messages, where the timer may fire again.
    wait.pump = [this] { sequence.tick(); };
    sequence.start();
    sequence.tick();
    EXPECT_EQ(sequence.step(), 1);
    EXPECT_EQ(host.scans, 1);
}

TEST_F(Sequence, UnavailableKeyboardIsReportedAndTheScansGoOn) {
    out.unavailable = "Keyboard output is disabled: there is no X11 display (DISPLAY is not set).";
    sequence.start();
    host.take();
    sequence.tick();
    EXPECT_EQ(host.take(), (Log{"scan", "problem " + out.unavailable, "interval 600"}));
    EXPECT_TRUE(out.events.empty());
    EXPECT_EQ(sequence.step(), 1);
}

TEST_F(Sequence, StartingAgainBeginsWithFaceB) {
    sequence.start();
    sequence.tick();
    sequence.tick();
    sequence.start();
    EXPECT_EQ(sequence.step(), 0);
    EXPECT_EQ(host.face, 'B');
}

}  // namespace
}  // namespace tx
