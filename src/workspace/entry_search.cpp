#include "workspace/entry_search.hpp"

#include <cstdio>

#include "cube/notation.hpp"
#include "platform/text.hpp"

namespace tx {

namespace {

// A two-phase result: the maneuver and its length, the cube's facelets as the search had them.
void twoPhaseReport(Entry& e, const EntryNotices& notices, const SearchReport& r) {
    if (r.state == SearchState::Found) {
        if (notices.modified) notices.modified();
        e.setSolverText(maneuverText(r), r.length);
        e.bestLength = r.length;
        e.cube.f = e.searchCopy;
        if (notices.changed) notices.changed(e);
    } else if (r.state == SearchState::Ended) {
        e.searchRunning = false;
        if (notices.ended) notices.ended(e);
    }
}

void optimalFound(Entry& e, const EntryNotices& notices, const SearchReport& r) {
    e.optimalLength = std::min(e.optimalLength, r.length);
    const bool proven = r.length == e.optimalLength;
    e.setOptimalManeuver(maneuverText(r, proven), r.length, proven);
    e.cube.f = e.searchCopy;
    if (notices.modified) notices.modified();
}

void optimalEnded(Entry& e, const EntryNotices& notices, const SearchReport& r) {
    if (r.length < 0 && e.optimalIsStatus()) e.setOptimalStatus(kStatusNotRunning);
    if (notices.changed) notices.changed(e);
    e.searchRunning = false;
    if (notices.ended) notices.ended(e);
}

// The log line of the depth just finished (or solved), then the status, or the proof of the
// two-phase maneuver when every shorter depth is exhausted.
void optimalProgress(Entry& e, const EntryNotices& notices, const SearchReport& r) {
    if (!e.optimalIsStatus() || (!r.solved && r.depth <= 8)) return;
    const int finished = r.solved ? r.depth : r.depth - 1;
    const std::string line = depthLineText(finished);
    if (e.optimalLog.find(line) == std::string::npos) {
        if (e.optimalLog.empty()) {
            e.optimalLog = "Pruning Table Start Values: " + std::to_string(r.startDistance[0]) + " " +
                           std::to_string(r.startDistance[1]) + " " + std::to_string(r.startDistance[2]);
            if (notices.logged) notices.logged(e, e.optimalLog);
        }
        char seconds[64];
        std::snprintf(seconds, sizeof seconds, "%3.1f s ", (nowDays() - e.startTime - e.pausedTotal) * 86400.0);
        const std::string added = line + seconds + " nodes: " + std::to_string(r.nodes);
        e.optimalLog += added;
        if (notices.logged) notices.logged(e, added.substr(1));
    }
    if (r.solved) return;
    if (e.solverMark >= 0 && r.depth >= e.solverMark) {
        e.setOptimalManeuver(provenText(e.solverText), e.solverMark, true);
        if (e.optimal) e.optimal->stop();
    } else {
        e.setOptimalStatus("Status: Searching depth " + std::to_string(r.depth) + "...");
    }
    if (notices.changed) notices.changed(e);
}

}  // namespace

std::string maneuverText(const SearchReport& found, bool proven) {
    std::string text = writeManeuver(found.moves.data(), static_cast<int>(found.moves.size()), found.metric,
                                     found.sliceMode, proven);
    for (int i = 0; i < found.orientation; ++i) text = transformManeuver(text, 0);
    return text;
}

std::string provenText(std::string_view text) {
    std::string proven(trim(text));
    const auto close = proven.rfind(')');
    if (close != std::string::npos) proven.insert(proven.begin() + static_cast<std::ptrdiff_t>(close), '*');
    return proven;
}

std::string depthLineText(int d) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "depth %2.2d: ", d);
    return std::string("\r") + buf;
}

// The drivers belong to the entry (its twoPhase and optimal), so they report only while it
// lives: the listeners may keep a plain pointer to it.
std::shared_ptr<TripleSearch> makeTwoPhaseSearch(Entry& e, SearchContext& context, const EntryNotices& notices,
                                                 std::string* whyNot) {
    FaceletCube cube = e.cube;
    cube.f = e.searchCopy;
    Entry* entry = &e;
    return TripleSearch::create(cube.toCubieCube(), e.bestLength, context,
                                [entry, notices](const SearchReport& r) { twoPhaseReport(*entry, notices, r); }, whyNot);
}

std::shared_ptr<OptimalSearch> makeOptimalSearch(Entry& e, SearchContext& context, const EntryNotices& notices,
                                                 std::string* whyNot) {
    e.searchCopy = e.cube.f;
    Entry* entry = &e;
    return OptimalSearch::create(e.cube.toCubieCube(), context,
                                 [entry, notices](const SearchReport& r) {
                                     if (r.state == SearchState::Found) optimalFound(*entry, notices, r);
                                     if (r.state == SearchState::Progress) optimalProgress(*entry, notices, r);
                                     if (r.state == SearchState::Ended) optimalEnded(*entry, notices, r);
                                 },
                                 whyNot);
}

}  // namespace tx
