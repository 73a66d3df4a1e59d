#include "tables/loader.hpp"

#include <new>

#include "cube/symmetry.hpp"
#include "tables/loader_steps.hpp"
#include "tables/prune_spaces.hpp"
#include "tables/table_manifest.hpp"

namespace tx {

namespace fs = std::filesystem;
using loader::Clock;
using loader::since;

namespace {

constexpr const char* kFirstRunQuestion =
    "Before the first run, Tesserix needs to create files in your Tesserix folder. This may take up to "
    "15 minutes and about 65 MB of space on your harddisk. Proceed?";
constexpr const char* kNoDiskSpace =
    "There are less than 65 MB disk space left in your Tesserix folder. The program will exit.";

}  // namespace

TableLoader::TableLoader(fs::path folder, Progress& progress, Prompts& prompts, TableSet loaded)
    : folder_(std::move(folder)), progress_(progress), prompts_(prompts), tables_(std::move(loaded)) {}

TableSet TableLoader::current() const {
    std::lock_guard lock(mutex_);
    return tables_;
}

void TableLoader::publish(const TableSet& tables) {
    std::lock_guard lock(mutex_);
    tables_ = tables;
}

void TableLoader::allocate(std::uint64_t bytes) const {
    if (memoryLimit != 0 && bytes > memoryLimit) throw std::bad_alloc();
}

void TableLoader::report(const std::string& name, std::uint64_t bytes, bool built, double seconds) {
    reports.push_back({name, bytes, built, seconds});
}

// A file of the wrong size is not trusted: the user is told, and it is rebuilt.
bool TableLoader::fileUsable(const std::string& name, std::uint64_t bytes) {
    long long size = disk->fileSize(file(name));
    if (size < 0) return false;
    if (static_cast<std::uint64_t>(size) == bytes) {
        // A file whose bytes changed since it was written is not trusted either.
        if (checkTableFile(folder_, name) != TableFileState::Differs) return true;
        prompts_.message("The table file " + name + " does not match the checksum recorded when it was written. "
                         "It will be created again.", "Tables", Icon::Warning);
        std::error_code ec;
        fs::remove(file(name), ec);
        return false;
    }
    prompts_.message("The table file " + name + " has " + std::to_string(size) + " bytes instead of " +
                         std::to_string(bytes) + ". It will be created again.",
                     "Tables", Icon::Warning);
    std::error_code ec;
    fs::remove(file(name), ec);
    return false;
}

void TableLoader::warnUnwritable(const std::string& name) {
    prompts_.message("Unable to write " + name + ".", "Tables", Icon::Warning);
}

void TableLoader::loadFlipSliceRep(CoordTables& t) {
    auto t0 = Clock::now();
    const std::string name = "RawFlipSlice";
    if (fileUsable(name, kRawFlipSliceBytes)) {
        t.flipSliceRep.resize(kFlipSliceClasses);
        if (readTableFile(*disk, file(name), t.flipSliceRep.data(), kRawFlipSliceBytes)) {
            report(name, kRawFlipSliceBytes, false, since(t0));
            return;
        }
    }
    progress_.setLabel("Creating RawFlipSlice (252 KB)");
    progress_.setRange(0, kSlices - 1);
    computeFlipSliceRep(t, [](void* ctx, long long row) {
        auto* p = static_cast<Progress*>(ctx);
        p->setPosition(row);
        if ((row & 15) == 0) p->pump();
        loader::stopIfCancelled(*p);
    }, &progress_);
    if (!writeTableFile(file(name), t.flipSliceRep.data(), kRawFlipSliceBytes)) warnUnwritable(name);
    progress_.setLabel("Loading...");
    report(name, kRawFlipSliceBytes, true, since(t0));
}

void TableLoader::loadFlipSliceMove(CoordTables& t) {
    auto t0 = Clock::now();
    const std::string name = "flipUDslicex.move";
    if (fileUsable(name, kFlipSliceMoveBytes)) {
        t.flipSliceMove.resize(static_cast<std::size_t>(kFlipSliceClasses) * kMoves);
        if (readTableFile(*disk, file(name), t.flipSliceMove.data(), kFlipSliceMoveBytes)) {
            report(name, kFlipSliceMoveBytes, false, since(t0));
            return;
        }
    }
    progress_.setLabel("Creating flipUDslicex.move (6.6 MB)");
    progress_.setRange(0, kFlipSliceClasses - 1);
    computeFlipSliceMove(t, loader::rowProgress, &progress_);
    if (!writeTableFile(file(name), t.flipSliceMove.data(), kFlipSliceMoveBytes)) warnUnwritable(name);
    progress_.setLabel("Loading...");
    report(name, kFlipSliceMoveBytes, true, since(t0));
}

void TableLoader::buildCornerPermDepth(const CoordTables& t, StandardTables& s) {
    auto& depth = s.cornerPermDepth;
    depth.assign(kCornerPerms, 255);
    depth[0] = 0;
    const auto& moves = tableMoves(s.sliceMode, true);
    for (int d = 0, done = 1; done < kCornerPerms; ++d) {
        for (int c = 0; c < kCornerPerms; ++c) {
            if (depth[c] != d) continue;
            for (int m : moves) {
                int n = t.cornerPermMove[c * kMoves + m];
                if (depth[n] == 255) {
                    depth[n] = static_cast<std::uint8_t>(d + 1);
                    ++done;
                }
            }
        }
    }
}

const Stabilisers& TableLoader::analyzeFlipSlice(const CoordTables& t) {
    progress_.setLabel("Analyzing...");
    progress_.setRange(0, kFlipSliceClasses - 1);
    if (stabilisers_) {
        progress_.setPosition(kFlipSliceClasses - 1);
        return *stabilisers_;
    }
    auto made = std::make_shared<Stabilisers>();
    computeStabilisers(t, *made, loader::rowProgress, &progress_);
    stabilisers_ = made;
    return *made;
}

const Stabilisers& TableLoader::analyzeCorners(const CoordTables& t) {
    progress_.setLabel("Analyzing...");
    progress_.setRange(0, kCornerClasses - 1);
    if (!stabilisers_) {
        auto made = std::make_shared<Stabilisers>();
        computeStabilisers(t, *made);
        stabilisers_ = made;
    }
    progress_.setPosition(kCornerClasses - 1);
    return *stabilisers_;
}

void TableLoader::loadPhase1(const CoordTables& t, StandardTables& s) {
    const std::string name = modeFileName("phase1PF.prun", s.sliceMode);
    auto t0 = Clock::now();
    s.phase1.entries = index::kPhase1Entries;
    if (fileUsable(name, kPhase1Bytes)) {
        s.phase1.bytes.resize(kPhase1Bytes);
        if (readTableFile(*disk, file(name), s.phase1.bytes.data(), kPhase1Bytes)) {
            progress_.setLabel("Loading...");
            report(name, kPhase1Bytes, false, since(t0));
            return;
        }
    }
    const Stabilisers& stab = analyzeFlipSlice(t);
    if (!loader::buildPackedFile(Phase1Space(t, s.sliceMode, &stab), file(name), name, "Creating " + name + " (26.8 MB)",
                                 13, kTwists, threads, progress_, statistics, s.phase1))
        warnUnwritable(name);
    progress_.setLabel("Loading...");
    report(name, kPhase1Bytes, true, since(t0));
}

void TableLoader::loadPhase2(const CoordTables& t, StandardTables& s) {
    const std::string name = modeFileName("phase2P.prun", s.sliceMode);
    auto t0 = Clock::now();
    s.phase2.entries = index::kPhase2Entries;
    if (fileUsable(name, kPhase2Bytes)) {
        s.phase2.bytes.resize(kPhase2Bytes);
        if (readTableFile(*disk, file(name), s.phase2.bytes.data(), kPhase2Bytes)) {
            progress_.setLabel("Loading...");
            report(name, kPhase2Bytes, false, since(t0));
            return;
        }
    }
    const Stabilisers& stab = analyzeCorners(t);
    if (!loader::buildPackedFile(Phase2Space(t, s.sliceMode, &stab), file(name), name, "Creating " + name + " (21.2 MB)",
                                 18, kCornerClasses, threads, progress_, statistics, s.phase2))
        warnUnwritable(name);
    progress_.setLabel("Loading...");
    report(name, kPhase2Bytes, true, since(t0));
}

// The corner table of one move set; kept in `keep` when given, otherwise only its file is made.
void TableLoader::loadCorner(const CoordTables& t, bool sliceMode, TwoBitTable* keep) {
    const std::string name = modeFileName("fullCornerF.prun", sliceMode);
    auto t0 = Clock::now();
    constexpr std::uint64_t words = kCornerBytes / 4;
    TwoBitTable table;
    if (fileUsable(name, kCornerBytes)) {
        if (!keep) {
            report(name, kCornerBytes, false, since(t0));
            return;
        }
        table.entries = index::kCornerEntries;
        table.words.resize(words);
        if (readTableFile(*disk, file(name), table.words.data(), kCornerBytes)) {
            *keep = std::move(table);
            report(name, kCornerBytes, false, since(t0));
            return;
        }
    }
    const Stabilisers& stab = analyzeCorners(t);
    progress_.setLabel("Creating " + name + " (1.4 MB)");
    progress_.setRange(0, 11);
    auto passes = loader::generateWithProgress(CornerSpace(t, sliceMode, &stab), table, threads, progress_);
    statistics.push_back({name, passes});
    table.words.resize(words, 0xFFFFFFFFu);
    if (!writeTableFile(file(name), table.words.data(), kCornerBytes)) warnUnwritable(name);
    if (keep) *keep = std::move(table);
    report(name, kCornerBytes, true, since(t0));
}

StartResult TableLoader::startUp(bool sliceMode, bool hugeOption) {
    if (disk->fileSize(file("RawFlipSlice")) < 0) {
        if (prompts_.ask({kFirstRunQuestion, "", Icon::Warning, Buttons::YesNo}) != Answer::Yes)
            return StartResult::Declined;
    }
    if (disk->fileSize(file("phase1PF.prun")) < 0) {
        long long free = disk->freeBytes(folder_);
        if (free >= 0 && free <= 69999999) {
            prompts_.ask({kNoDiskSpace, "", Icon::Error, Buttons::Ok});
            return StartResult::NoDiskSpace;
        }
    }
    progress_.setVisible(true);
    try {
        startTables(sliceMode, hugeOption);
    } catch (const loader::BuildCancelled&) {
        progress_.setVisible(false);
        return StartResult::Cancelled;
    }
    progress_.setVisible(false);
    return StartResult::Ready;
}

void TableLoader::startTables(bool sliceMode, bool hugeOption) {
    auto coords = std::make_shared<CoordTables>();
    CoordTables& t = *coords;
    stabilisers_.reset();

    symmetries();
    loadFlipSliceRep(t);
    computeSliceSortedRep(t);
    computeCornerClasses(t);
    progress_.pump();
    computeMoveTables(t);
    loadFlipSliceMove(t);
    computeConjugationTables(t);
    progress_.pump();

    auto standard = std::make_shared<StandardTables>();
    standard->sliceMode = sliceMode;
    buildCornerPermDepth(t, *standard);
    loadPhase1(t, *standard);
    loadPhase2(t, *standard);
    std::shared_ptr<const HugeTable> huge;
    if (hugeOption) huge = makeHugeTable(&t, sliceMode);
    loadCorner(t, !sliceMode, nullptr);       // both corner files exist afterwards
    loadCorner(t, sliceMode, &standard->corner);  // the current mode's stays in memory

    computeUdEdgeFromSlices(t);
    publish({coords, standard, nullptr, huge});
}

bool TableLoader::switchMode(bool sliceMode, bool centres) {
    const TableSet before = current();
    if (!before.coords) return false;
    // The tables of the other move set are let go first (searches holding them keep them).
    publish({before.coords, nullptr, nullptr, nullptr});
    progress_.setVisible(true);
    auto standard = std::make_shared<StandardTables>();
    standard->sliceMode = sliceMode;
    try {
        buildCornerPermDepth(*before.coords, *standard);
        loadPhase1(*before.coords, *standard);
        loadPhase2(*before.coords, *standard);
        loadCorner(*before.coords, sliceMode, &standard->corner);
    } catch (const loader::BuildCancelled&) {  // the searches find no tables, as they say
        progress_.setVisible(false);
        return false;
    }
    publish({before.coords, standard, nullptr, nullptr});
    bool ok = true;
    if (before.huge) ok = loadHugeTable() && ok;
    if (centres) ok = loadCenterTables() && ok;
    progress_.setVisible(false);
    return ok;
}

std::shared_ptr<const TwoBitTable> TableLoader::cornerTable(bool sliceMode) {
    const TableSet set = current();
    if (!set.coords) return nullptr;
    auto table = std::make_shared<TwoBitTable>();
    try {
        loadCorner(*set.coords, sliceMode, table.get());
    } catch (const loader::BuildCancelled&) {
        return nullptr;
    }
    return table;
}

bool TableLoader::collectStatistics() {
    const TableSet set = current();
    if (!set.ready()) return false;
    const CoordTables& t = *set.coords;
    const StandardTables& p = *set.standard;
    const bool slice = p.sliceMode;
    const Stabilisers& stab = analyzeFlipSlice(t);
    bool same = true;
    auto check = [&](auto space, const std::string& name, auto compare) {
        TwoBitTable work;
        progress_.setLabel("Counting " + name);
        statistics.push_back({name, generateTable(space, work, threads)});
        same = compare(work) && same;
    };
    check(Phase1Space(t, slice, &stab), modeFileName("phase1PF.prun", slice), [&](const TwoBitTable& w) {
        PackedTable packed;
        packTable(w, packed);
        return packed.bytes == p.phase1.bytes;
    });
    check(Phase2Space(t, slice, &stab), modeFileName("phase2P.prun", slice), [&](const TwoBitTable& w) {
        PackedTable packed;
        packTable(w, packed);
        return packed.bytes == p.phase2.bytes;
    });
    check(CornerSpace(t, slice, &stab), modeFileName("fullCornerF.prun", slice), [&](TwoBitTable w) {
        w.words.resize(kCornerBytes / 4, 0xFFFFFFFFu);
        return w.words == p.corner.words;
    });
    return same;
}

}  // namespace tx
