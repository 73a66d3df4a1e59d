#pragma once
// The scan-and-solve sequence: on a timer it scans the six faces of a cube held in front of the
// webcam while typing the keys that make another program turn the cube between the scans,
// transfers the scanned cube, and types the solution as that program's key letters.
#include <optional>
#include <string>

#include "ui/keyboard/key_output.hpp"

namespace tx {

// What the sequence drives: the webcam page, the cube list and the timer that calls tick().
class ScanSolveHost {
public:
    virtual ~ScanSolveHost() = default;
    virtual void selectFace(char face) = 0;  // the webcam's face choice
    virtual void scan() = 0;
    virtual void transfer() = 0;  // failures become the result text, no message boxes
    virtual void processMessages() = 0;
    // The last list entry's solver text, nullopt when the list is empty.
    virtual std::optional<std::string> lastSolverText() = 0;
    virtual void startTimer(int intervalMs) = 0;
    virtual void setTimerInterval(int intervalMs) = 0;
    virtual void stopTimer() = 0;
    // Shown when typing is not possible.
    virtual void keyboardProblem(const std::string& text) = 0;
};

class ScanSolveSequence {
public:
    static constexpr int kSteps = 8;

    ScanSolveSequence(ScanSolveHost& host, KeyTyper& typer) : host_(host), typer_(typer) {}

    void start();  // BScanSolveType: face B, step 0, a tick every 2000 ms
    void tick();   // one timer tick: the current step, then the next one
    int step() const { return step_; }
    bool running() const { return running_; }

private:
    void type(std::string_view keys, int delay);

    ScanSolveHost& host_;
    KeyTyper& typer_;
    int step_ = 0;
    bool running_ = false;
    bool inTick_ = false;
};

}  // namespace tx
