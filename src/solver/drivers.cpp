#include "solver/drivers.hpp"

#include <cstdio>
#include <optional>

#include "cube/notation.hpp"
#include "cube/symmetry.hpp"

namespace tx {

Entry::Entry() = default;
Entry::~Entry() = default;

std::shared_ptr<Entry> Entry::copyData() const {
    auto e = std::make_shared<Entry>();
    e->cube = cube;
    e->solverText = solverText;
    e->optimalText = optimalText;
    e->patternName = patternName;
    e->useOptimal = useOptimal;
    e->bestLength = bestLength;
    e->optimalLength = optimalLength;
    e->showSolver = showSolver;
    e->cubieSubset = cubieSubset;
    return e;
}

bool Entry::hasOptimalManeuver() const { return optimalText.find("*)") != std::string::npos; }

double nowDays() {
    using namespace std::chrono;
    return duration<double>(system_clock::now().time_since_epoch()).count() / 86400.0;
}

namespace {

std::unique_ptr<CoordCube> coordsOf(const CoordTables& t, const FaceletCube& cube, int conjugations) {
    CubieCube c = cube.toCubieCube();
    for (int i = 0; i < conjugations; ++i) {
        bool centers = c.centersCount;
        c = conjugate(c, kSymUrf3);
        c.centersCount = centers;
    }
    return std::make_unique<CoordCube>(t, c);
}

// The tables loaded now, when they hold what the search needs; otherwise the reason.
std::optional<TableSet> tablesFor(const SearchContext& context, bool centers, bool huge, std::string* whyNot) {
    TableSet tables = context.tables ? context.tables->current() : TableSet{};
    std::string missing = missingTables(tables, centers, huge, context.sliceMode);
    if (missing.empty()) return tables;
    if (whyNot) *whyNot = std::move(missing);
    return std::nullopt;
}

}  // namespace

// ---------------------------------------------------------------- two-phase driver

TripleSearch::TripleSearch(Entry& entry, SearchContext& context, TableSet tables)
    : triple(context.triple), bound(entry.bestLength - 1), entry_(&entry), context_(&context), tables_(std::move(tables)) {
    FaceletCube cube = entry.cube;
    cube.f = entry.searchCopy;
    for (int k = 0; k < orientations(); ++k) coords_[k] = coordsOf(*tables_.coords, cube, k);
}

std::shared_ptr<TripleSearch> TripleSearch::create(Entry& entry, SearchContext& context, std::string* whyNot) {
    auto tables = tablesFor(context, entry.cube.centersCount, false, whyNot);
    if (!tables) return nullptr;
    return std::shared_ptr<TripleSearch>(new TripleSearch(entry, context, std::move(*tables)));
}

TripleSearch::~TripleSearch() {
    for (auto& t : current_)
        if (t) t->requestStop();
    for (auto& t : current_) t.reset();
    for (auto& t : previous_) t.reset();
}

void TripleSearch::start() {
    endedThreads = 0;
    running_ = true;
    for (int k = 0; k < orientations(); ++k) {
        if (current_[k]) {
            current_[k]->join();
            previous_[k] = std::move(current_[k]);
            current_[k] = std::make_unique<SearchThread>(std::make_unique<IDA>(previous_[k]->ida()));
        } else {
            current_[k] = std::make_unique<SearchThread>(std::make_unique<IDA>(tables_, *coords_[k], false));
        }
        IDA& ida = current_[k]->ida();
        ida.maxLen = bound;
        ida.stopAt = context_->stopAt;
        ida.sliceMode = context_->sliceMode;
    }
    // Later runs copy the kept threads, so the coordinates are not needed again.
    if (!context_->freeThreadsOnTerminate)
        for (auto& c : coords_) c.reset();
    std::weak_ptr<TripleSearch> self = weak_from_this();
    for (int k = 0; k < orientations(); ++k) {
        current_[k]->start(*context_->events, [self, k] {
            if (auto s = self.lock()) s->onThreadEnd(k);
        });
    }
}

void TripleSearch::stop() {
    for (auto& t : current_)
        if (t) t->requestStop();
}

void TripleSearch::onThreadEnd(int orientation) {
    Entry& e = *entry_;
    if (endedThreads == 0) {
        const IDA& ida = current_[orientation]->ida();
        const int a = ida.result;
        lastResult = a;
        if (a == -1) bound = -1;
        if (a >= 0 && a <= bound) {
            if (context_->onModified) context_->onModified();
            bound = a - 1;
            std::string text = ida.maneuverText(context_->metricLetter());
            for (int i = 0; i < orientation; ++i) text = transformManeuver(text, 0);
            e.solverText = text;
            e.bestLength = a;
            e.cube.f = e.searchCopy;
            if (context_->onEntryChanged) context_->onEntryChanged(e);
        }
        stop();
    }
    if (++endedThreads < orientations()) return;
    running_ = false;
    for (auto& t : previous_) t.reset();
    if (context_->freeThreadsOnTerminate)
        for (auto& t : current_) t.reset();
    if (lastResult > context_->stopAt && !e.removed) {
        std::weak_ptr<TripleSearch> self = weak_from_this();
        context_->events->post([self] {  // the next run
            auto s = self.lock();
            if (s && s->entry_->searchRunning && !s->entry_->removed) s->start();
        });
    } else {
        e.searchRunning = false;
        if (context_->onSearchEnded) context_->onSearchEnded(e);
    }
}

// ---------------------------------------------------------------- optimal driver

int lengthOfMark(const std::string& text, char metricLetter) {
    for (auto open = text.find('('); open != std::string::npos; open = text.find('(', open + 1)) {
        std::size_t i = open + 1;
        int value = 0, digits = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9' && digits < 3) value = value * 10 + (text[i++] - '0'), ++digits;
        if (digits > 0 && i + 1 < text.size() && text[i] == metricLetter && text[i + 1] == ')') return value;
    }
    return -1;
}

std::string depthLineText(int d) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "depth %2.2d: ", d);
    return std::string("\r") + buf;
}

OptimalSearch::OptimalSearch(Entry& entry, SearchContext& context, TableSet tables)
    : entry_(&entry), context_(&context), tables_(std::move(tables)) {
    entry.searchCopy = entry.cube.f;
    coord_ = coordsOf(*tables_.coords, entry.cube, 0);
}

std::shared_ptr<OptimalSearch> OptimalSearch::create(Entry& entry, SearchContext& context, std::string* whyNot) {
    const bool centers = entry.cube.centersCount;
    auto tables = tablesFor(context, centers, context.hugeMode && !centers, whyNot);
    if (!tables) return nullptr;
    return std::shared_ptr<OptimalSearch>(new OptimalSearch(entry, context, std::move(*tables)));
}

OptimalSearch::~OptimalSearch() {
    if (current_) current_->requestStop();
    current_.reset();
    previous_.reset();
}

void OptimalSearch::start() {
    if (current_) {
        current_->join();
        previous_ = std::move(current_);
        current_ = std::make_unique<SearchThread>(std::make_unique<IDA>(previous_->ida()));
    } else {
        current_ = std::make_unique<SearchThread>(std::make_unique<IDA>(tables_, *coord_, true, context_->hugeMode));
        if (!context_->freeThreadsOnTerminate) coord_.reset();
    }
    IDA& ida = current_->ida();
    ida.maxLen = 31;
    ida.optimalMode = true;
    ida.hugeMode = context_->hugeMode && !ida.centerMode;
    ida.sliceMode = context_->sliceMode;
    std::weak_ptr<OptimalSearch> self = weak_from_this();
    Events* events = context_->events;
    const IDA* thread = &ida;
    ida.onProgress = [self, events, thread](int v) {
        events->post([self, thread, v] {
            if (auto s = self.lock()) s->onProgress(thread, v);
        });
    };
    current_->start(*events, [self] {
        if (auto s = self.lock()) s->onThreadEnd();
    });
}

void OptimalSearch::stop() {
    if (current_) current_->requestStop();
}

void OptimalSearch::onThreadEnd() {
    Entry& e = *entry_;
    const IDA& ida = current_->ida();
    const int a = ida.result;
    if (a >= 0) {
        std::string text = ida.maneuverText(context_->metricLetter());
        e.optimalLength = std::min(e.optimalLength, a);
        if (a == e.optimalLength) {
            auto close = text.rfind(')');
            if (close != std::string::npos) text.insert(close, "*");
        }
        e.optimalText = text;
        e.cube.f = e.searchCopy;
        if (context_->onModified) context_->onModified();
    } else if (Entry::isStatus(e.optimalText)) {
        e.optimalText = kStatusNotRunning;
    }
    if (context_->onEntryChanged) context_->onEntryChanged(e);
    e.searchRunning = false;
    previous_.reset();
    if (context_->freeThreadsOnTerminate) current_.reset();
    if (context_->onSearchEnded) context_->onSearchEnded(e);
}

void OptimalSearch::onProgress(const IDA* thread, int v) {
    Entry& e = *entry_;
    if (!current_ || &current_->ida() != thread) return;
    if (e.optimalText.find("Status:") == std::string::npos || v <= 8) return;
    const IDA& ida = *thread;
    const int d = v >= 100 ? v - 99 : v - 1;
    const std::string line = depthLineText(d);
    if (e.optimalLog.find(line) == std::string::npos) {
        if (e.optimalLog.empty())
            e.optimalLog = "Pruning Table Start Values: " + std::to_string(ida.startDistance[0]) + " " +
                           std::to_string(ida.startDistance[1]) + " " + std::to_string(ida.startDistance[2]);
        char buf[64];
        std::snprintf(buf, sizeof buf, "%3.1f s ", (nowDays() - e.startTime - e.pausedTotal) * 86400.0);
        e.optimalLog += line + buf + " nodes: " + std::to_string(ida.depthNodes[d - 1]);
    }
    if (v >= 100) return;
    const int markLength = lengthOfMark(e.solverText, context_->metricLetter());
    if (markLength >= 0 && v >= markLength) {
        std::string text = e.solverText;
        auto first = text.find_first_not_of(' ');
        auto last = text.find_last_not_of(' ');
        text = first == std::string::npos ? "" : text.substr(first, last - first + 1);
        auto close = text.rfind(')');
        if (close != std::string::npos) text.insert(close, "*");
        e.optimalText = text;
        stop();
    } else {
        e.optimalText = "Status: Searching depth " + std::to_string(v) + "...";
    }
    if (context_->onEntryChanged) context_->onEntryChanged(e);
}

}  // namespace tx
