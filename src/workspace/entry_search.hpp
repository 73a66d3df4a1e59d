#pragma once
// The searches of an entry: its drivers are made here, and their reports (search_report.hpp)
// become the entry's texts: the solver and optimal maneuvers with their length marks, the
// optimal log and the status texts.
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "solver/drivers.hpp"
#include "workspace/entry.hpp"

namespace tx {

// What the owner of entries hears from their searches (on the main thread).
struct EntryNotices {
    std::function<void(Entry&)> changed;  // the entry's texts changed (repaint)
    std::function<void()> modified;       // the workspace has changes to save
    std::function<void(Entry&)> ended;    // the entry's search ended (searchRunning is clear)
    // A line was added to the entry's optimal log (given without its leading "\r").
    std::function<void(Entry&, const std::string&)> logged;
};

// The two-phase driver of an entry, for its cube as searchCopy holds it and below bestLength;
// the optimal driver, for its cube (searchCopy is filled from it). Not started; null and the
// reason when the tables lack what the cube needs.
std::shared_ptr<TripleSearch> makeTwoPhaseSearch(Entry& e, SearchContext& context, const EntryNotices& notices,
                                                 std::string* whyNot = nullptr);
std::shared_ptr<OptimalSearch> makeOptimalSearch(Entry& e, SearchContext& context, const EntryNotices& notices,
                                                 std::string* whyNot = nullptr);

// The text of a found maneuver: the written moves with their length mark ("*" in it when
// proven), turned back from the orientation the search ran on.
std::string maneuverText(const SearchReport& found, bool proven = false);
// A maneuver text proved optimal: trimmed, "*" before the closing parenthesis of its mark.
std::string provenText(std::string_view text);
// The optimal log line for depth d: "\r" + "depth %2.2d: ".
std::string depthLineText(int d);

}  // namespace tx
