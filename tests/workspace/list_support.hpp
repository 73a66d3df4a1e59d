#pragma once
// A cube list wired to a plain event queue and scripted prompts, and small cube helpers.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "cube/facelet_cube.hpp"
#include "cube/notation.hpp"
#include "cube/random.hpp"
#include "platform/events.hpp"
#include "platform/prompts.hpp"
#include "workspace/autorun.hpp"
#include "workspace/cube_list.hpp"
#include "support/random_cubes.hpp"
#include "support/scripted_prompts.hpp"
#include "support/temp_folder.hpp"
#include "support/test_tables.hpp"

namespace tx::testing {

struct ListRig {
    QueueEvents events;
    ScriptedPrompts prompts;
    CubeList list{events, prompts};
    int pumps = 0;
    std::vector<std::string> captions;
    int repaints = 0;

    ListRig() {
        list.context().tables = &testTableSource();
        list.hooks.pump = [this] {
            ++pumps;
            events.drain();
        };
        list.hooks.setCaption = [this](const std::string& c) { captions.push_back(c); };
        list.hooks.repaint = [this] { ++repaints; };
    }
    // Drains the queue until pred holds (or the time is up). The limit only guards against a
    // hang: searches to 20 moves on a loaded machine can take tens of seconds.
    template <class Pred>
    bool waitFor(Pred pred, int seconds = 120) {
        return events.runUntil(pred, std::chrono::seconds(seconds));
    }
};

inline FaceletCube cubeOf(std::string_view maneuver) {
    FaceletCube c;
    applyManeuver(c, maneuver);
    return c;
}

// True when the moves of the text (up to its length mark), applied to the cube, give the
// solved cube.
inline bool solves(const FaceletCube& cube, const std::string& text) {
    FaceletCube c = cube;
    applyManeuver(c, std::string_view(text).substr(0, text.find('(')));
    return c.f == FaceletCube().f;
}

// An entry whose solverText (in the writer's form) solves its cube: the cube is made by the
// inverse of a random maneuver of `moves` face turns.
inline std::shared_ptr<Entry> entryWithManeuver(MersenneTwister& rng, int moves, bool star = false) {
    std::vector<Move> m;
    int prev = -1;
    for (int i = 0; i < moves; ++i) {
        int axis;
        do axis = int(rng.below(6)); while (axis == prev);
        prev = axis;
        m.push_back({std::uint8_t(axis), std::uint8_t(1 + rng.below(3))});
    }
    const std::string text = writeManeuver(m.data(), int(m.size()), 'f', false, star);
    auto e = std::make_shared<Entry>();
    e->cube = cubeOf(inverseManeuver(text));
    if (star) {
        e->setOptimalManeuver(text, moves, true);
        e->optimalLength = moves;
        e->useOptimal = true;
    } else {
        e->setSolverText(text, moves);
        e->bestLength = moves;
    }
    return e;
}

// The threads of this process at work (busyThreadCount) once the threads of earlier searches
// have settled: a finished thread files itself as idle in the pool a moment after its work.
inline int settledBusyThreadCount() {
    int base = busyThreadCount();
    for (int i = 0; i < 100; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        const int now = busyThreadCount();
        if (now == base) break;
        base = now;
    }
    return base;
}

}  // namespace tx::testing
