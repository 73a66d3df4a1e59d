#include "solver/ida.hpp"

#include <vector>

#include "solver/move_rules.hpp"
#include "solver/optimal_split.hpp"
#include "solver/search_gate.hpp"

namespace tx {

IDA::IDA(const TableSet& tables, const CoordCube& cube, bool optimal, bool huge)
    : hugeMode(huge),
      tables_(tables),
      tb_(tables.ready() ? SearchTables::of(tables) : SearchTables{}),
      coordsInRange_(cube.inRange()) {
    centerMode = cube.centers;
    optimalMode = optimal;  // for canRun() only: the drivers set the mode before each run
    const bool distances = canRun();
    optimalMode = false;
    symmetryMask = cube.symmetryMask;
    for (int k = 0; k < 3; ++k) {
        const AxisCoords& a = cube.axis[k];
        start_.cls[k] = static_cast<std::uint32_t>(a.flipSliceClass);
        start_.sym[k] = static_cast<std::uint8_t>(a.flipSliceSym);
        start_.twist[k] = static_cast<std::uint16_t>(a.twist);
        start_.centerParity[k] = static_cast<std::uint8_t>(a.centerParity);
        start_.dCornerPos[k] = static_cast<std::uint16_t>(a.dCornerPos);
        start_.sliceSorted[k] = static_cast<std::uint16_t>(a.sliceSorted);
        start_.centerOris[k] = static_cast<std::uint16_t>(a.centerOri);
        int d = -1;  // no start distance without the tables
        if (distances) {
            if (centerMode)
                d = centerDistance(tables_, a.flipSliceClass, a.flipSliceSym, a.twist, a.centerParity);
            else if (huge && optimal)
                d = hugeDistance(tables_, a.flipSliceClass, a.flipSliceSym, a.twist, a.dCornerPos);
            else
                d = phase1Distance(tables_, a.flipSliceClass, a.flipSliceSym, a.twist);
        }
        startDistance[k] = d;
        start_.dist[k] = static_cast<std::uint8_t>(d < 0 ? 0 : d);
    }
    start_.cornerPerm = static_cast<std::uint16_t>(cube.cornerPerm);
    start_.centerOri = static_cast<std::uint16_t>(cube.axis[0].centerOri);
    start_.udEdgePerm = static_cast<std::uint16_t>(cube.udEdgePerm);
}

IDA::IDA(const IDA& o)
    : sliceMode(o.sliceMode),
      centerMode(o.centerMode),
      optimalMode(false),
      hugeMode(o.hugeMode),
      maxLen(o.maxLen),
      stopAt(o.stopAt),
      threads(o.threads),
      mayShare(o.mayShare),
      result(o.result),
      length(o.length),
      nodes(o.nodes),
      totalNodes(o.totalNodes),
      depthNodes(o.depthNodes),
      depthThreads(o.depthThreads),
      startDistance(o.startDistance),
      symmetryMask(o.symmetryMask),
      live(o.live),
      levels(o.levels),
      depthIndex(o.depthIndex),
      phase2Depth(o.phase2Depth),
      tables_(o.tables_),
      tb_(o.tb_),
      coordsInRange_(o.coordsInRange_),
      start_(o.start_),
      mark_(o.mark_),
      level_(o.level_),
      resumeAfterSolution_(o.resumeAfterSolution_),
      started_(o.started_),
      floor_(o.floor_),
      ceiling_(o.ceiling_),
      split_(o.split_ ? std::make_unique<OptimalSplit>(*o.split_) : nullptr) {
    for (int i = 0; i < kLevels; ++i) cursor_[i] = o.cursor_[i];
}

IDA::~IDA() = default;

LiveCounts::LiveCounts(const LiveCounts& o) : nodes(o.nodes.load()), depth(o.depth.load()) {
    for (int d = 0; d < kLevels; ++d) depthEnd[d] = o.depthEnd[d].load();
}

bool IDA::canRun() const {
    if (!coordsInRange_ || !tables_.ready()) return false;
    if (centerMode && !tables_.hasCenter()) return false;
    if (optimalMode && hugeMode && !centerMode && !tables_.hasHuge()) return false;
    return true;
}

int IDA::run() {
    if (!canRun()) return result = kNoSolution;
    return optimalMode ? optimalSearch() : twoPhaseRun();
}

void IDA::requestStop() {
    stopRequested.store(true, std::memory_order_relaxed);
    SearchGate::instance().wakeAll();  // a search waiting for its turn ends at once
}

// Moves the cursors to the next move the axis rules allow and places it on its level, backing
// up through exhausted levels; false when every move of the current depth has been tried.
bool IDA::nextCandidate(int moveLimit) {
    for (;;) {
        int& j = level_;
        if (j < floor_) return false;
        const int m = cursor_[j];
        if (m >= moveLimit) {
            if (--j >= floor_) {
                if (mark_ > j) mark_ = j;
                ++cursor_[j];
            }
            continue;
        }
        const int axis = m / 3;
        if (!axisMayFollow(axis, j == 0 ? -1 : levels[j - 1].axis, sliceMode)) {
            cursor_[j] = 3 * (axis + 1);
            continue;
        }
        levels[j].axis = static_cast<std::uint8_t>(axis);
        levels[j].power = static_cast<std::uint8_t>(m % 3 + 1);
        if (mark_ > j) mark_ = j;
        return true;
    }
}

std::vector<Move> IDA::maneuver() const {
    std::vector<Move> moves;
    for (int j = 0; j < length && j < kLevels; ++j) moves.push_back({levels[j].axis, levels[j].power});
    return moves;
}

}  // namespace tx
