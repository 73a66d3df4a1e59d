#include "tables/loader.hpp"

#include <chrono>
#include <new>

#include "cube/symmetry.hpp"
#include "platform/atomic_file.hpp"
#include "platform/data_folder.hpp"
#include "tables/coord_tables.hpp"
#include "tables/prune_generate.hpp"
#include "tables/prune_spaces.hpp"
#include "tables/table_files.hpp"
#include "tables/tables.hpp"

namespace tx {

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;
double since(Clock::time_point t0) { return std::chrono::duration<double>(Clock::now() - t0).count(); }

constexpr const char* kFirstRunQuestion =
    "Before the first run, Tesserix needs to create files in your Tesserix folder. This may take up to "
    "15 minutes and about 65 MB of space on your harddisk. Proceed?";
constexpr const char* kNoDiskSpace =
    "There are less than 65 MB disk space left in your Tesserix folder. The program will exit.";

}  // namespace

TableLoader::TableLoader(fs::path folder, Progress& progress, Prompts& prompts)
    : folder_(std::move(folder)), progress_(progress), prompts_(prompts) {}

void TableLoader::allocate(std::uint64_t bytes) const {
    if (memoryLimit != 0 && bytes > memoryLimit) throw std::bad_alloc();
}

void TableLoader::report(const std::string& name, std::uint64_t bytes, bool built, double seconds) {
    reports.push_back({name, bytes, built, seconds});
}

// A file of the wrong size is not trusted: the user is told, and it is rebuilt.
bool TableLoader::fileUsable(const std::string& name, std::uint64_t bytes) {
    long long size = tableFileSize(file(name));
    if (size < 0) return false;
    if (static_cast<std::uint64_t>(size) == bytes) return true;
    prompts_.message("The table file " + name + " has " + std::to_string(size) + " bytes instead of " +
                         std::to_string(bytes) + ". It will be created again.",
                     "Tables", Icon::Warning);
    std::error_code ec;
    fs::remove(file(name), ec);
    return false;
}

void TableLoader::loadFlipSliceRep() {
    auto& t = coordTables();
    auto t0 = Clock::now();
    const std::string name = "RawFlipSlice";
    if (fileUsable(name, kRawFlipSliceBytes)) {
        t.flipSliceRep.resize(kFlipSliceClasses);
        if (readTableFile(file(name), t.flipSliceRep.data(), kRawFlipSliceBytes)) {
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
    }, &progress_);
    if (!writeTableFile(file(name), t.flipSliceRep.data(), kRawFlipSliceBytes))
        prompts_.message("Unable to write " + name + ".", "Tables", Icon::Warning);
    progress_.setLabel("Loading...");
    report(name, kRawFlipSliceBytes, true, since(t0));
}

void TableLoader::loadFlipSliceMove() {
    auto& t = coordTables();
    auto t0 = Clock::now();
    const std::string name = "flipUDslicex.move";
    if (fileUsable(name, kFlipSliceMoveBytes)) {
        t.flipSliceMove.resize(static_cast<std::size_t>(kFlipSliceClasses) * kMoves);
        if (readTableFile(file(name), t.flipSliceMove.data(), kFlipSliceMoveBytes)) {
            report(name, kFlipSliceMoveBytes, false, since(t0));
            return;
        }
    }
    progress_.setLabel("Creating flipUDslicex.move (6.6 MB)");
    progress_.setRange(0, kFlipSliceClasses - 1);
    computeFlipSliceMove(t, [](void* ctx, long long row) {
        auto* p = static_cast<Progress*>(ctx);
        p->setPosition(row);
        p->pump();
    }, &progress_);
    if (!writeTableFile(file(name), t.flipSliceMove.data(), kFlipSliceMoveBytes))
        prompts_.message("Unable to write " + name + ".", "Tables", Icon::Warning);
    progress_.setLabel("Loading...");
    report(name, kFlipSliceMoveBytes, true, since(t0));
}

void TableLoader::buildCornerPermDepth(bool sliceMode) {
    auto& t = coordTables();
    auto& depth = pruneTables().cornerPermDepth;
    depth.assign(kCornerPerms, 255);
    depth[0] = 0;
    auto moves = tableMoves(sliceMode, true);
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

void TableLoader::buildCenterSliceDepth(bool sliceMode) {
    auto& t = coordTables();
    auto& depth = pruneTables().centerSliceDepth;
    constexpr std::uint64_t n = std::uint64_t(kSliceSorted) * kCenterOris;
    allocate(n);
    depth.assign(n, 255);
    depth[0] = 0;
    auto moves = tableMoves(sliceMode, false);
    progress_.setLabel("Please wait...");
    progress_.setRange(0, 10);
    std::uint64_t done = 1;
    for (int d = 0; done < n && d < 40; ++d) {
        progress_.setPosition(std::min(d, 10));
        for (std::uint64_t i = 0; i < n; ++i) {
            if ((i & 4095) == 0 && (i & 0xFFFFF) == 0) progress_.pump();
            if (depth[i] != d) continue;
            int ss = static_cast<int>(i / kCenterOris), co = static_cast<int>(i % kCenterOris);
            for (int m : moves) {
                std::uint64_t j = std::uint64_t(t.sliceSortedMove[ss * kMoves + m]) * kCenterOris +
                                  t.centerOriMove[co * kMoves + m];
                if (depth[j] == 255) {
                    depth[j] = static_cast<std::uint8_t>(d + 1);
                    ++done;
                }
            }
        }
    }
}

void TableLoader::analyzeFlipSlice() {
    auto& t = coordTables();
    progress_.setLabel("Analyzing...");
    progress_.setRange(0, kFlipSliceClasses - 1);
    if (t.flipSliceStab.size() == static_cast<std::size_t>(kFlipSliceClasses) &&
        t.cornerStab.size() == static_cast<std::size_t>(kCornerClasses)) {
        progress_.setPosition(kFlipSliceClasses - 1);
        return;
    }
    computeStabilisers(t, [](void* ctx, long long row) {
        auto* p = static_cast<Progress*>(ctx);
        p->setPosition(row);
        p->pump();
    }, &progress_);
}

void TableLoader::analyzeCorners() {
    progress_.setLabel("Analyzing...");
    progress_.setRange(0, kCornerClasses - 1);
    if (coordTables().cornerStab.size() != static_cast<std::size_t>(kCornerClasses))
        computeStabilisers(coordTables());
    progress_.setPosition(kCornerClasses - 1);
}

namespace {

// Generation with the progress bar over passes; the pump runs while each pass works.
template <class Space>
std::vector<PassCount> generateWithProgress(const Space& space, TwoBitTable& work, int threads,
                                            Progress& progress) {
    return generateTable(space, work, threads, [&](int pass) {
        if (pass >= 0) progress.setPosition(pass + 1);
        progress.pump();
    });
}

// Builds a packed table file: generate, pack, write in blocks; the caller loads it afterwards.
template <class Space>
bool buildPackedFile(const Space& space, const fs::path& path, const std::string& name,
                     const std::string& createLabel, int passRange, std::uint64_t blockBytes, int threads,
                     Progress& progress, std::vector<TableStatistics>& statistics, PackedTable& packed) {
    {
        TwoBitTable work;
        progress.setLabel(createLabel);
        progress.setRange(0, passRange);
        auto passes = generateWithProgress(space, work, threads, progress);
        statistics.push_back({name, passes});
        packTable(work, packed);
    }
    progress.setLabel("Writing " + name);
    progress.setRange(0, static_cast<long long>(packed.bytes.size() / blockBytes));
    return writeTableFile(path, packed.bytes.data(), packed.bytes.size(), blockBytes, [&](std::uint64_t b) {
        progress.setPosition(static_cast<long long>(b + 1));
        progress.pump();
    });
}

}  // namespace

void TableLoader::loadPhase1(bool sliceMode) {
    auto& p = pruneTables();
    const std::string name = modeFileName("phase1PF.prun", sliceMode);
    auto t0 = Clock::now();
    p.phase1.entries = Phase1Space::kEntries;
    if (fileUsable(name, kPhase1Bytes)) {
        p.phase1.bytes.resize(kPhase1Bytes);
        if (readTableFile(file(name), p.phase1.bytes.data(), kPhase1Bytes)) {
            progress_.setLabel("Loading...");
            report(name, kPhase1Bytes, false, since(t0));
            return;
        }
    }
    analyzeFlipSlice();
    if (!buildPackedFile(Phase1Space(sliceMode), file(name), name, "Creating " + name + " (26.8 MB)", 13, 2187,
                         threads, progress_, statistics, p.phase1))
        prompts_.message("Unable to write " + name + ".", "Tables", Icon::Warning);
    progress_.setLabel("Loading...");
    report(name, kPhase1Bytes, true, since(t0));
}

void TableLoader::loadPhase2(bool sliceMode) {
    auto& p = pruneTables();
    const std::string name = modeFileName("phase2P.prun", sliceMode);
    auto t0 = Clock::now();
    p.phase2.entries = Phase2Space::kEntries;
    if (fileUsable(name, kPhase2Bytes)) {
        p.phase2.bytes.resize(kPhase2Bytes);
        if (readTableFile(file(name), p.phase2.bytes.data(), kPhase2Bytes)) {
            progress_.setLabel("Loading...");
            report(name, kPhase2Bytes, false, since(t0));
            return;
        }
    }
    analyzeCorners();
    if (!buildPackedFile(Phase2Space(sliceMode), file(name), name, "Creating " + name + " (21.2 MB)", 18, 2768,
                         threads, progress_, statistics, p.phase2))
        prompts_.message("Unable to write " + name + ".", "Tables", Icon::Warning);
    progress_.setLabel("Loading...");
    report(name, kPhase2Bytes, true, since(t0));
}

void TableLoader::loadCorner(bool sliceMode, bool keep) {
    const std::string name = modeFileName("fullCornerF.prun", sliceMode);
    auto t0 = Clock::now();
    constexpr std::uint64_t words = kCornerBytes / 4;  // one spare word after the last entry
    TwoBitTable table;
    if (fileUsable(name, kCornerBytes)) {
        if (!keep) {
            report(name, kCornerBytes, false, since(t0));
            return;
        }
        table.entries = CornerSpace::kEntries;
        table.words.resize(words);
        if (readTableFile(file(name), table.words.data(), kCornerBytes)) {
            pruneTables().corner = std::move(table);
            report(name, kCornerBytes, false, since(t0));
            return;
        }
    }
    analyzeCorners();
    progress_.setLabel("Creating " + name + " (1.4 MB)");
    progress_.setRange(0, 11);
    auto passes = generateWithProgress(CornerSpace(sliceMode), table, threads, progress_);
    statistics.push_back({name, passes});
    table.words.resize(words, 0xFFFFFFFFu);
    if (!writeTableFile(file(name), table.words.data(), kCornerBytes))
        prompts_.message("Unable to write " + name + ".", "Tables", Icon::Warning);
    if (keep) pruneTables().corner = std::move(table);
    report(name, kCornerBytes, true, since(t0));
}

StartResult TableLoader::startUp(bool sliceMode, bool hugeOption) {
    if (tableFileSize(file("RawFlipSlice")) < 0) {
        if (prompts_.ask({kFirstRunQuestion, "", Icon::Warning, Buttons::YesNo}) != Answer::Yes)
            return StartResult::Declined;
    }
    if (tableFileSize(file("phase1PF.prun")) < 0) {
        long long free = freeDiskBytes(folder_);
        if (free >= 0 && free <= 69999999) {
            prompts_.ask({kNoDiskSpace, "", Icon::Error, Buttons::Ok});
            return StartResult::NoDiskSpace;
        }
    }
    progress_.setVisible(true);
    auto& t = coordTables();
    auto& p = pruneTables();
    p.sliceMode = sliceMode;

    symmetries();
    initTrits();
    loadFlipSliceRep();
    computeSliceSortedRep(t);
    computeCornerClasses(t);
    progress_.pump();
    computeMoveTables(t);
    loadFlipSliceMove();
    computeConjugationTables(t);
    progress_.pump();

    buildCornerPermDepth(sliceMode);
    loadPhase1(sliceMode);
    loadPhase2(sliceMode);
    if (hugeOption) loadHugeTable();
    loadCorner(!sliceMode, false);  // both corner files exist afterwards
    loadCorner(sliceMode, true);    // the current mode's stays in memory

    computeUdEdgeFromSlices(t);
    progress_.setVisible(false);
    return StartResult::Ready;
}

bool TableLoader::switchMode(bool sliceMode, bool centres) {
    auto& p = pruneTables();
    p.sliceMode = sliceMode;
    progress_.setVisible(true);
    buildCornerPermDepth(sliceMode);
    loadPhase1(sliceMode);
    loadPhase2(sliceMode);
    loadCorner(sliceMode, true);
    bool ok = true;
    if (p.hasHuge()) ok = loadHugeTable() && ok;
    if (centres) ok = loadCenterTables() && ok;
    progress_.setVisible(false);
    return ok;
}

bool TableLoader::loadCenterTables() {
    auto& p = pruneTables();
    const bool slice = p.sliceMode;
    const std::string name = modeFileName("phase1CntPF.prun", slice);
    freeCenterTables();
    progress_.setVisible(true);
    auto t0 = Clock::now();
    auto fail = [&](const std::string& text) {
        freeCenterTables();
        progress_.setVisible(false);
        prompts_.message(text, "", Icon::Warning);
        return false;
    };
    if (fileUsable(name, kCenterBytes)) {
        progress_.setLabel("Initializing memory. Please wait...");
        try {
            allocate(kCenterBytes);
            p.center.bytes.resize(kCenterBytes);
        } catch (const std::bad_alloc&) {
            return fail("Not enough RAM to solve center-twisted Cubes.");
        }
        p.center.entries = CenterSpace::kEntries;
        progress_.setLabel("Loading " + name + " (430 MB)");
        progress_.setRange(0, 2187);
        if (!readTableFile(file(name), p.center.bytes.data(), kCenterBytes, 2187, [&](int i) {
                progress_.setPosition(i + 1);
                if ((i & 63) == 0) progress_.pump();
            }))
            return fail("Unable to load the 430 MB Solver Table for center-twisted Cubes.");
        report(name, kCenterBytes, false, since(t0));
    } else {
        progress_.setLabel("Initializing memory. Please wait...");
        try {
            allocate(std::uint64_t(140908410) * 4);
        } catch (const std::bad_alloc&) {
            return fail("Not enough RAM to solve center-twisted Cubes.");
        }
        if (prompts_.ask({"Tesserix will now create a 430 MB file in your Tesserix folder. This will take up to "
                          "4 hours. Proceed?",
                          "", Icon::Warning, Buttons::YesNo}) != Answer::Yes) {
            progress_.setVisible(false);
            return false;
        }
        analyzeFlipSlice();
        bool written;
        try {
            written = buildPackedFile(CenterSpace(slice), file(name), name, "Creating " + name + " (430 MB)", 14,
                                      2187, threads, progress_, statistics, p.center);
        } catch (const std::bad_alloc&) {
            return fail("Not enough RAM to solve center-twisted Cubes.");
        }
        if (!written) return fail("Unable to write the 430 MB Solver Table for center-twisted cubes.");
        report(name, kCenterBytes, true, since(t0));
    }
    try {
        buildCenterSliceDepth(slice);
    } catch (const std::bad_alloc&) {
        return fail("Not enough RAM to solve center-twisted Cubes.");
    }
    progress_.setVisible(false);
    return true;
}

void TableLoader::freeCenterTables() {
    auto& p = pruneTables();
    p.center = PackedTable{};
    p.centerSliceDepth = {};
}

void TableLoader::freeHugeTable() { pruneTables().huge = {}; }

bool TableLoader::tryLoadHuge(bool slice) {
    auto& p = pruneTables();
    const std::string name = modeFileName("ubigPF.prun", slice);
    constexpr std::uint64_t sub = kPhase1Bytes;
    progress_.setLabel("Initializing memory. Please wait...");
    allocate(kHugeBytes);
    p.huge.assign(70, PackedTable{});
    for (auto& t : p.huge) {
        t.entries = Phase1Space::kEntries;
        t.bytes.resize(sub);
    }
    progress_.setLabel("Loading " + name + " (1881 MB)");
    progress_.setRange(0, 70);
    std::FILE* f = std::fopen(file(name).c_str(), "rb");
    if (!f) return false;
    bool ok = true;
    for (int i = 0; i < 70 && ok; ++i) {
        for (int piece = 0; piece < 34 && ok; ++piece)  // 34 pieces of 828,873 bytes
            ok = std::fread(p.huge[i].bytes.data() + piece * 828873ull, 1, 828873, f) == 828873;
        progress_.setPosition(i + 1);
        progress_.pump();
    }
    std::fclose(f);
    return ok;
}

bool TableLoader::loadHugeTable() {
    auto& p = pruneTables();
    const bool slice = p.sliceMode;
    const std::string name = modeFileName("ubigPF.prun", slice);
    freeHugeTable();
    progress_.setVisible(true);
    auto t0 = Clock::now();
    auto fail = [&](const std::string& text) {
        freeHugeTable();
        progress_.setVisible(false);
        prompts_.message(text, "", Icon::Warning);
        return false;
    };
    if (fileUsable(name, kHugeBytes)) {
        try {
            if (!tryLoadHuge(slice)) return fail("Unable to load the 1881 MB Huge Optimal Solver Table.");
        } catch (const std::bad_alloc&) {
            return fail("Not enough RAM. Tesserix needs 2600 MB. Please close all other applications.");
        }
        report(name, kHugeBytes, false, since(t0));
        progress_.setVisible(false);
        return true;
    }
    try {
        allocate(std::uint64_t(70) * 8806776 * 4);
    } catch (const std::bad_alloc&) {
        return fail("Not enough RAM. Tesserix needs 2600 MB. Please close all other applications.");
    }
    if (prompts_.ask({"Tesserix will now create a 1881 MB file in your Tesserix folder. This will take up to 4 "
                      "hours. Proceed?",
                      "", Icon::Warning, Buttons::YesNo}) != Answer::Yes) {
        progress_.setVisible(false);
        return false;
    }
    analyzeFlipSlice();
    try {
        {
            TwoBitTable work;
            progress_.setLabel("Creating " + name + " (1881 MB)");
            progress_.setRange(0, 13);
            auto passes = generateWithProgress(HugeSpace(slice), work, threads, progress_);
            statistics.push_back({name, passes});
            // 70 sub-tables, each packed on its own.
            p.huge.assign(70, PackedTable{});
            for (int d = 0; d < 70; ++d) packRange(work, d * HugeSpace::kSub, HugeSpace::kSub, p.huge[d]);
        }
        progress_.setLabel("Writing " + name);
        progress_.setRange(0, 70);
        const bool written = writeFileAtomically(file(name), [&](FileSink& sink) {
            for (int d = 0; d < 70; ++d) {
                if (!sink.write(p.huge[d].bytes.data(), kPhase1Bytes)) return false;
                progress_.setPosition(d + 1);
                progress_.pump();
            }
            return true;
        }).ok;
        if (!written) return fail("Unable to write the 1881 MB Huge Optimal Solver Table.");
    } catch (const std::bad_alloc&) {
        return fail("Not enough RAM. Tesserix needs 2600 MB. Please close all other applications.");
    }
    report(name, kHugeBytes, true, since(t0));
    progress_.setVisible(false);
    return true;
}

bool TableLoader::collectStatistics() {
    auto& p = pruneTables();
    const bool slice = p.sliceMode;
    analyzeFlipSlice();
    bool same = true;
    auto check = [&](auto space, const std::string& name, auto compare) {
        TwoBitTable work;
        progress_.setLabel("Counting " + name);
        statistics.push_back({name, generateTable(space, work, threads)});
        same = compare(work) && same;
    };
    check(Phase1Space(slice), modeFileName("phase1PF.prun", slice), [&](const TwoBitTable& w) {
        PackedTable packed;
        packTable(w, packed);
        return packed.bytes == p.phase1.bytes;
    });
    check(Phase2Space(slice), modeFileName("phase2P.prun", slice), [&](const TwoBitTable& w) {
        PackedTable packed;
        packTable(w, packed);
        return packed.bytes == p.phase2.bytes;
    });
    check(CornerSpace(slice), modeFileName("fullCornerF.prun", slice), [&](TwoBitTable w) {
        w.words.resize(kCornerBytes / 4, 0xFFFFFFFFu);
        return w.words == p.corner.words;
    });
    return same;
}

}  // namespace tx
