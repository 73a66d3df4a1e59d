#include "ui/keyboard/scan_solve.hpp"

#include "cube/notation.hpp"

namespace tx {

void ScanSolveSequence::start() {
    host_.selectFace('B');
    step_ = 0;
    running_ = true;
    host_.startTimer(2000);
}

void ScanSolveSequence::type(std::string_view keys, int delay) {
    if (std::string problem = typer_.type(keys, delay); !problem.empty()) host_.keyboardProblem(problem);
}

void ScanSolveSequence::tick() {
    // Typing processes window messages; a tick arriving meanwhile would run a step twice.
    if (!running_ || inTick_) return;
    inTick_ = true;
    switch (step_) {
    case 0:
    case 1:
    case 2:
        host_.scan();
        type("aaa", 1);
        if (step_ == 0) host_.setTimerInterval(600);
        break;
    case 3:
        host_.scan();
        type("yyy", 1);
        break;
    case 4:
        host_.scan();
        type("yy", 1);
        break;
    case 5:
        host_.scan();
        type("yyya", 1);
        host_.setTimerInterval(100);
        break;
    case 6:
        host_.transfer();
        host_.processMessages();
        host_.setTimerInterval(2400);
        break;
    default:
        host_.stopTimer();
        running_ = false;
        if (const auto solver = host_.lastSolverText()) type(keyLetters(*solver), 2);
        break;
    }
    ++step_;
    inTick_ = false;
}

}  // namespace tx
