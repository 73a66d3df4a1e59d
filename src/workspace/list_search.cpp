// The searches of the list's entries: the run/stop button of a row, the "optimal" check box,
// and starting and stopping the searches of the selected entries.
#include <chrono>
#include <thread>

#include "cube/cube_input.hpp"
#include "solver/drivers.hpp"
#include "workspace/cube_list.hpp"

namespace tx {

namespace {
constexpr auto kSettleTimeout = std::chrono::seconds(10);
}

// A stopped run still delivers its end message. Starting again before that message has been
// handled would let the old end count for the new run, and a pending next-run message would
// start a second run beside the new one; so the pending messages are handled first.
bool CubeList::settle(const std::shared_ptr<Entry>& e) {
    if (!e->twoPhase && !e->optimal) return true;
    auto busy = [&] {
        const TripleSearch* tp = e->twoPhase.get();
        return (tp && tp->threadsRunning()) || optimalInFlight(*e);
    };
    pump();
    if (!hooks.pump) return !busy();
    const auto deadline = std::chrono::steady_clock::now() + kSettleTimeout;
    while (busy()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        pump();
    }
    return true;
}

void CubeList::stopEntrySearch(Entry& e) {
    if (e.optimal && optimalInFlight(e)) {
        e.optimal->stop();
        e.pauseTime = nowDays();
    }
    if (e.twoPhase) e.twoPhase->stop();
    // Cleared at once: a next run already queued must not start after the stop.
    e.searchRunning = false;
}

void CubeList::detachSearches(const std::shared_ptr<Entry>& e) {
    if (!e->twoPhase && !e->optimal) return;
    stopEntrySearch(*e);
    settle(e);
    e->twoPhase.reset();
    e->optimal.reset();
    optimalRunning_.erase(e.get());
}

bool CubeList::startTwoPhase(const std::shared_ptr<Entry>& e, bool quiet) {
    if (!solvableCube(e->cube) || !settle(e) || e->removed) return false;
    if (!e->twoPhase && e->bestLength > 0) {
        e->searchCopy = e->cube.f;
        std::string whyNot;
        e->twoPhase = makeTwoPhaseSearch(*e, context_, notices_, &whyNot);
        if (!e->twoPhase) return refuseSearch(whyNot, quiet);
    }
    if (!e->twoPhase || e->twoPhase->cannotImprove()) {
        if (!quiet)
            prompts_->message("The Two-Phase-Algorithm can not find a better solution.", kManeuverWindow,
                              Icon::Warning);
        return false;
    }
    e->searchRunning = true;
    e->twoPhase->start();
    repaint();
    return true;
}

// A search that cannot run on the tables loaded now (the centre tables were freed, say).
bool CubeList::refuseSearch(const std::string& whyNot, bool quiet) {
    if (!quiet) prompts_->message(whyNot, kManeuverWindow, Icon::Warning);
    return false;
}

bool CubeList::startOptimal(const std::shared_ptr<Entry>& e, bool quiet) {
    if (!solvableCube(e->cube) || !settle(e) || e->removed) return false;
    const double now = nowDays();
    if (e->optimal) {
        if (e->pauseTime > 0) e->pausedTotal += now - e->pauseTime;  // never paused: nothing to add
        e->pauseTime = 0;
    } else {
        std::string whyNot;
        e->optimal = makeOptimalSearch(*e, context_, notices_, &whyNot);
        if (!e->optimal) return refuseSearch(whyNot, quiet);
        e->startTime = now;
        e->pausedTotal = 0;
        e->pauseTime = 0;
    }
    e->searchRunning = true;
    optimalRunning_.insert(e.get());
    e->optimal->start();
    repaint();
    return true;
}

bool CubeList::startEntrySearch(const std::shared_ptr<Entry>& e, bool quiet) {
    return e->useOptimal ? startOptimal(e, quiet) : startTwoPhase(e, quiet);
}

void CubeList::entryButton(int index) {
    const std::shared_ptr<Entry> e = entries_.at(static_cast<std::size_t>(index));
    if (!e->cube.isComplete()) {
        prompts_->message("You cannot solve an incomplete cube!", kManeuverWindow);
        return;
    }
    if (e->searchRunning) {
        stopEntrySearch(*e);
        repaint();
        return;
    }
    if (e->useOptimal && e->hasOptimalManeuver() &&
        !prompts_->yes("The maneuver already is optimal. If you proceed you may loose optimality. Proceed?",
                       kManeuverWindow))
        return;
    // A complete cube can still be impossible (a hand-written facelet line); the search
    // would read such a cube as garbage.
    if (cubeProblem(e->cube)) {
        prompts_->message("Cube cannot be solved. Missing or wrong facelet colors!", kManeuverWindow);
        return;
    }
    startEntrySearch(e, false);
}

bool CubeList::setOptimalBox(int index, bool checked) {
    Entry& e = at(index);
    const bool wasOptimal = e.useOptimal;
    e.useOptimal = checked;
    // Switching the kind stops the running search of the other kind.
    if (checked != wasOptimal && e.searchRunning) stopEntrySearch(e);
    // A proven optimal maneuver keeps the box checked.
    if (!checked && e.hasOptimalManeuver()) e.useOptimal = true;
    repaint();
    return e.useOptimal;
}

int CubeList::startSearchForSelected(bool optimal, int threshold) {
    std::vector<std::shared_ptr<Entry>> selected;
    for (const auto& e : entries_)
        if (e->selected) selected.push_back(e);
    for (const auto& e : selected) {
        if (e->searchRunning) {
            prompts_->message("The search for some selected cubes already is running. Action aborted.", "Error",
                              Icon::Error);
            return 0;
        }
    }
    std::vector<std::shared_ptr<Entry>> candidates;
    for (const auto& e : selected)
        if (!e->hasOptimalManeuver() && e->bestLength > threshold) candidates.push_back(e);
    if (candidates.size() > static_cast<std::size_t>(kMaxStartedSearches)) {
        prompts_->message("You may not start more than 500 searches at the same time.", "Error", Icon::Error);
        return 0;
    }
    int started = 0;
    for (const auto& e : candidates) {
        if (e->removed || e->searchRunning) continue;
        e->useOptimal = optimal;
        if (startEntrySearch(e, true)) ++started;
    }
    repaint();
    return started;
}

void CubeList::stopSearchForSelected() {
    for (const auto& e : entries_)
        if (e->selected && e->searchRunning) stopEntrySearch(*e);
    repaint();
}

}  // namespace tx
