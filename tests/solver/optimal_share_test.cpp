// An optimal search that shares its long depths only while it runs alone: each depth asks
// whether it may share, the helper threads of a shared depth leave once it may not, and the
// maneuver and the node counts stay those of the single-threaded search throughout.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include <sys/resource.h>
#include <unistd.h>

#include "solver/drivers.hpp"
#include "solver/optimal_split.hpp"
#include "solver/search_gate.hpp"
#include "solver_support.hpp"

namespace tx {
namespace {

using namespace std::chrono_literals;

class OptimalShareTest : public ::testing::Test {
protected:
    // Enough slots that a search holding one while it waits never holds up the search tested.
    void SetUp() override {
        ASSERT_TRUE(testing::loadTestTables().ready());
        SearchGate::instance().setSlots(8);
    }
    void TearDown() override {
        SearchGate::instance().setSlots(static_cast<int>(std::max(1u, std::thread::hardware_concurrency())));
    }
};

// Another search, as the gate sees it: a thread inside the gate until this object goes.
class OtherSearch {
public:
    OtherSearch()
        : thread_([this] {
              SearchGate& gate = SearchGate::instance();
              gate.enter(stop_);
              inside_ = true;
              inside_.notify_all();
              release_.wait(false);
              gate.leave();
          }) {
        inside_.wait(false);
    }
    ~OtherSearch() {
        release_ = true;
        release_.notify_all();
    }

private:
    std::atomic<bool> stop_{false}, inside_{false}, release_{false};
    std::jthread thread_;
};

std::unique_ptr<IDA> optimalSearchOf(const CubieCube& c, int threads) {
    const TableSet& tables = testing::loadTestTables();
    auto ida = std::make_unique<IDA>(tables, CoordCube(*tables.coords, c), true);
    ida->optimalMode = true;
    ida->threads = threads;
    return ida;
}

// Same result, maneuver and nodes at the end of every depth and in all.
void expectSameSearch(const IDA& one, const IDA& many) {
    ASSERT_EQ(many.result, one.result);
    ASSERT_EQ(many.length, one.length);
    for (int j = 0; j < one.length; ++j) {
        EXPECT_EQ(many.levels[j].axis, one.levels[j].axis) << "level " << j;
        EXPECT_EQ(many.levels[j].power, one.levels[j].power) << "level " << j;
    }
    ASSERT_EQ(many.depthIndex, one.depthIndex);
    for (int d = 0; d <= one.depthIndex; ++d) EXPECT_EQ(many.depthNodes[d], one.depthNodes[d]) << "depth " << d;
    EXPECT_EQ(many.totalNodes, one.totalNodes);
}

// A cube and its single-threaded optimal search.
struct Reference {
    CubieCube cube;
    std::unique_ptr<IDA> one;
};

// Cubes of `moves` moves whose optimal search reaches depth index kSplitMinDepth + 2.
std::vector<Reference> deepEnoughReferences(std::uint32_t seed, int count, int moves = 11) {
    std::mt19937 rng(seed);
    std::vector<Reference> out;
    while (static_cast<int>(out.size()) < count) {
        Reference r{testing::scramble(rng, moves), nullptr};
        r.one = optimalSearchOf(r.cube, 1);
        r.one->run();
        EXPECT_GE(r.one->result, 1);
        if (r.one->depthIndex >= kSplitMinDepth + 2) out.push_back(std::move(r));
    }
    return out;
}

TEST_F(OptimalShareTest, EachDepthSharesOnlyWhileTheSearchIsAloneAtTheGate) {
    SearchGate& gate = SearchGate::instance();
    for (const auto& [cube, one] : deepEnoughReferences(301, 3)) {
        auto many = optimalSearchOf(cube, 2);
        many->mayShare = [] { return SearchGate::instance().alone(); };
        std::unique_ptr<OtherSearch> other;
        // The hook runs on the search's thread before the next depth decides.
        many->onProgress = [&](int v) {
            if (v == kSplitMinDepth + 2) other = std::make_unique<OtherSearch>();  // depth 7 beside another search
            if (v == kSplitMinDepth + 3) other.reset();                            // depth 8 alone again
        };
        std::atomic<bool> stop{false};
        gate.enter(stop);  // as the search threads of the program do
        many->run();
        gate.leave();
        expectSameSearch(*one, *many);
        for (int d = 0; d < kSplitMinDepth; ++d) EXPECT_EQ(many->depthThreads[d], 1) << "depth " << d;
        EXPECT_EQ(many->depthThreads[kSplitMinDepth], 2);
        EXPECT_EQ(many->depthThreads[kSplitMinDepth + 1], 1);
        for (int d = kSplitMinDepth + 2; d <= one->depthIndex; ++d) EXPECT_EQ(many->depthThreads[d], 2) << "depth " << d;
        EXPECT_EQ(many->live.threads.load(), 1);
    }
    EXPECT_EQ(gate.searches(), 0);
}

TEST_F(OptimalShareTest, HelpersLeaveASharedDepthOnceTheyMayNotShare) {
    // The search's own thread may share at every depth's start. Of the two helpers of a depth,
    // the first to ask may go on; the other hears "no" and must take no item after it. The
    // threads left finish the depth as the single search would.
    const std::thread::id own = std::this_thread::get_id();
    for (const auto& [cube, one] : deepEnoughReferences(307, 3)) {
        auto many = optimalSearchOf(cube, 3);
        std::mutex mutex;
        // The helpers of each depth (a later depth's helper may reuse a thread id), in the order
        // they first asked.
        std::map<int, std::vector<std::thread::id>> helpers;
        std::map<int, int> refusals;  // per depth
        many->mayShare = [&] {
            const auto id = std::this_thread::get_id();
            if (id == own) return true;
            std::lock_guard lock(mutex);
            const int depth = many->live.depth.load();
            auto& ids = helpers[depth];
            if (std::find(ids.begin(), ids.end(), id) == ids.end()) ids.push_back(id);
            if (ids.front() == id) return true;
            ++refusals[depth];
            return false;
        };
        many->run();
        expectSameSearch(*one, *many);
        // Each shared depth's refused helper asked once and left.
        for (int d = kSplitMinDepth; d <= one->depthIndex; ++d) {
            EXPECT_EQ(many->depthThreads[d], 3) << "depth " << d;
            EXPECT_EQ(refusals[d], 1) << "depth " << d;
        }
    }
}

// Limits the address space of the process to what it uses now and a little more, so that no
// thread stack (8 MB) can be mapped; the old limit comes back when it goes.
class NoRoomForThreads {
public:
    NoRoomForThreads() {
        ::getrlimit(RLIMIT_AS, &old_);
        std::ifstream statm("/proc/self/statm");
        std::uint64_t pages = 0;
        statm >> pages;
        rlimit tight = old_;
        tight.rlim_cur = pages * static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE)) + (4u << 20);
        ok_ = ::setrlimit(RLIMIT_AS, &tight) == 0;
    }
    ~NoRoomForThreads() { ::setrlimit(RLIMIT_AS, &old_); }
    bool ok() const { return ok_; }

private:
    rlimit old_{};
    bool ok_ = false;
};

TEST_F(OptimalShareTest, ASharedDepthWithoutThreadsToBeHadRunsOnTheThreadsItHas) {
    // Making a helper thread fails: the search goes on with the threads it has, to the result
    // of the single search, instead of ending the process.
    const auto refs = deepEnoughReferences(331, 1);
    auto many = optimalSearchOf(refs[0].cube, 3);
    bool threadRefused = false;
    {
        NoRoomForThreads limit;
        ASSERT_TRUE(limit.ok());
        try {
            std::thread probe([] {});
            probe.join();
        } catch (const std::system_error&) {
            threadRefused = true;
        }
        if (threadRefused) many->run();
    }
    ASSERT_TRUE(threadRefused) << "the limit left room for a thread";
    expectSameSearch(*refs[0].one, *many);
    EXPECT_EQ(many->depthThreads[kSplitMinDepth], 3);  // decided on three, ran on what it had
    EXPECT_EQ(many->live.threads.load(), 1);
}

// ------------------------------------------------------------------ through the driver

class OptimalShareDriverTest : public OptimalShareTest {
protected:
    QueueEvents events;
    SearchContext context;

    void SetUp() override {
        OptimalShareTest::SetUp();
        context.events = &events;
        context.tables = &testing::testTableSource();
        context.optimalThreads = 2;
        context.shareOnlyWhenAlone = true;
    }
    bool runUntil(const std::function<bool()>& done) { return events.runUntil(done, 120s); }
};

struct Reports {
    std::vector<SearchReport> all;
    bool ended = false;
    int deepest = 0;  // the deepest depth reported as begun
    SearchListener listener(std::function<void(const SearchReport&)> also = {}) {
        return [this, also](const SearchReport& r) {
            all.push_back(r);
            if (r.state == SearchState::Ended) ended = true;
            if (r.state == SearchState::Progress && !r.solved) deepest = std::max(deepest, r.depth);
            if (also) also(r);
        };
    }
    const SearchReport* found() const {
        for (const auto& r : all)
            if (r.state == SearchState::Found) return &r;
        return nullptr;
    }
};

void expectFoundLike(const SearchReport* found, const IDA& one) {
    ASSERT_TRUE(found);
    EXPECT_TRUE(found->optimal);
    ASSERT_EQ(found->length, one.length);
    const auto moves = one.maneuver();
    ASSERT_EQ(found->moves.size(), moves.size());
    for (std::size_t j = 0; j < moves.size(); ++j) {
        EXPECT_EQ(found->moves[j].axis, moves[j].axis);
        EXPECT_EQ(found->moves[j].power, moves[j].power);
    }
}

TEST_F(OptimalShareDriverTest, ASearchRunningAloneSharesEveryLongDepth) {
    const auto refs = deepEnoughReferences(311, 1);
    const IDA& one = *refs[0].one;
    Reports reports;
    auto search = OptimalSearch::create(refs[0].cube, context, reports.listener());
    ASSERT_TRUE(search);
    search->start();
    ASSERT_TRUE(runUntil([&] { return reports.ended; }));
    expectFoundLike(reports.found(), one);
    EXPECT_EQ(reports.found()->nodes, one.totalNodes);
    const IDA& ida = *search->currentThread();
    for (int d = kSplitMinDepth; d <= one.depthIndex; ++d) EXPECT_EQ(ida.depthThreads[d], 2) << "depth " << d;
}

TEST_F(OptimalShareDriverTest, ContinuedBesideAnotherSearchItKeepsOneThreadAndEndsTheSame) {
    // Stopped once its shared depths have begun, continued while another entry's search runs:
    // the depths from the one it stopped in run on one thread, the maneuver and the nodes of
    // every depth are those of the single search.
    int stoppedInTime = 0;
    for (const auto& ref : deepEnoughReferences(313, 3, 12)) {
        const IDA& one = *ref.one;
        Reports reports;
        std::shared_ptr<OptimalSearch> search;
        search = OptimalSearch::create(ref.cube, context, reports.listener([&](const SearchReport& r) {
            if (r.state == SearchState::Progress && !r.solved && r.depth == kSplitMinDepth + 2) search->stop();
        }));
        ASSERT_TRUE(search);
        search->start();
        ASSERT_TRUE(runUntil([&] { return reports.ended; }));
        if (reports.found()) continue;  // the search ended before the stop came: nothing to continue
        ASSERT_EQ(reports.all.back().length, kStopped);
        ++stoppedInTime;
        const int stoppedAt = search->currentThread()->depthIndex;

        // Another entry's search: a random cube, searched on one thread far longer than this test.
        SearchContext plain = context;
        plain.optimalThreads = 1;
        plain.shareOnlyWhenAlone = false;
        std::mt19937 rng(317);
        Reports otherReports;
        auto other = OptimalSearch::create(testing::randomCubie(rng), plain, otherReports.listener());
        ASSERT_TRUE(other);
        other->start();
        ASSERT_TRUE(runUntil([] { return SearchGate::instance().searches() == 1; }));

        reports.ended = false;
        search->start();
        ASSERT_TRUE(runUntil([&] { return reports.ended; }));
        expectFoundLike(reports.found(), one);
        const IDA& ida = *search->currentThread();
        for (int d = kSplitMinDepth; d < stoppedAt; ++d) EXPECT_EQ(ida.depthThreads[d], 2) << "depth " << d;
        for (int d = stoppedAt; d <= one.depthIndex; ++d) EXPECT_EQ(ida.depthThreads[d], 1) << "depth " << d;
        for (int d = 0; d <= one.depthIndex; ++d) EXPECT_EQ(ida.depthNodes[d], one.depthNodes[d]) << "depth " << d;

        other->stop();
        ASSERT_TRUE(runUntil([&] { return otherReports.ended; }));
    }
    EXPECT_GE(stoppedInTime, 1);
}

}  // namespace
}  // namespace tx
