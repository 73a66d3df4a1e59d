#include "workspace/entry.hpp"

#include <chrono>

#include "solver/drivers.hpp"

namespace tx {

Entry::Entry() = default;
Entry::~Entry() = default;

void Entry::setSolverText(std::string text, int mark) {
    solverText = std::move(text);
    solverMark = mark;
}

void Entry::setOptimalStatus(std::string status) {
    optimalText = std::move(status);
    optimalKind = OptimalText::Status;
    optimalMark = -1;
}

void Entry::setOptimalManeuver(std::string text, int mark, bool proven) {
    optimalText = std::move(text);
    optimalKind = proven ? OptimalText::Proven : OptimalText::Maneuver;
    optimalMark = mark;
}

std::shared_ptr<Entry> Entry::copyData() const {
    auto e = std::make_shared<Entry>();
    e->cube = cube;
    e->solverText = solverText;
    e->solverMark = solverMark;
    e->optimalText = optimalText;
    e->optimalKind = optimalKind;
    e->optimalMark = optimalMark;
    e->patternName = patternName;
    e->useOptimal = useOptimal;
    e->bestLength = bestLength;
    e->optimalLength = optimalLength;
    e->showSolver = showSolver;
    e->cubieSubset = cubieSubset;
    return e;
}

double nowDays() {
    using namespace std::chrono;
    return duration<double>(system_clock::now().time_since_epoch()).count() / 86400.0;
}

}  // namespace tx
