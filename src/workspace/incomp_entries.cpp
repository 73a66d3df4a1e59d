#include "workspace/incomp_entries.hpp"

#include <algorithm>

#include "cube/notation.hpp"
#include "platform/text.hpp"

namespace tx {

namespace {

// The number just before the metric letter at `letter`, as the mark " (12f)" states it.
int markLength(const std::string& text, std::size_t letter) {
    std::size_t start = letter;
    while (start > 0 && text[start - 1] >= '0' && text[start - 1] <= '9') --start;
    int length = 0;
    for (std::size_t i = start; i < letter; ++i) length = std::min(1000000, 10 * length + (text[i] - '0'));
    return length;
}

// The entry a line describes, or null when it holds no mark in this metric.
std::shared_ptr<Entry> entryOfLine(const std::string& line, char metric) {
    const std::size_t comment = line.find("//");
    const std::string text = line.substr(0, comment);
    const std::size_t optimal = text.find(std::string(1, metric) + "*)");
    const std::size_t plain = text.find(std::string(1, metric) + ")");
    if (optimal == std::string::npos && plain == std::string::npos) return nullptr;
    auto e = std::make_shared<Entry>();
    if (comment != std::string::npos) e->patternName = std::string(trim(std::string_view(line).substr(comment + 2)));
    if (optimal != std::string::npos) {
        const int length = markLength(text, optimal);
        e->setOptimalManeuver(text.substr(0, optimal + 3), length, true);
        e->useOptimal = true;
        e->optimalLength = length;
    } else {
        const int length = markLength(text, plain);
        e->setSolverText(text.substr(0, plain + 2), length);
        e->bestLength = length;
    }
    // The position the maneuver solves: its inverse applied to the solved cube.
    applyManeuver(e->cube, inverseManeuver(optimal != std::string::npos ? e->optimalText : e->solverText));
    return e;
}

}  // namespace

int addIncompLines(CubeList& list, const std::vector<std::string>& lines) {
    const bool savedIso = list.isoCheck;
    list.isoCheck = false;
    AddRequest how;
    how.showSolver = true;
    how.centersCount = list.options.fixCenterFacelets;
    int added = 0;
    for (const std::string& line : lines) {
        const auto e = entryOfLine(line, list.metricLetter());
        if (e && list.addCube(*e, how)) ++added;
    }
    list.isoCheck = savedIso;
    return added;
}

}  // namespace tx
