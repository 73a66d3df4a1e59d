// The tables loaded on demand: the centre-orientation tables (430 MB) and the huge table of
// the optimal solver (1881 MB). Each is built or read into a new object that the loader
// publishes only when it is complete.
#include <cstdio>
#include <new>

#include "platform/atomic_file.hpp"
#include "tables/loader.hpp"
#include "tables/loader_steps.hpp"
#include "tables/prune_spaces.hpp"
#include "tables/table_manifest.hpp"

namespace tx {

using loader::Clock;
using loader::since;

namespace {

constexpr const char* kNotStarted = "The solver tables are not loaded.";

// The two tables with their files, sizes and messages. The working bytes are the two-bit
// arrays allocated (as a test) before a table is generated.
const TableLoader::OptionalTable kCenterTable{
    "phase1CntPF.prun", TableLoader::kCenterBytes, (index::kCenterEntries / 16) * 4,
    "Tesserix will now create a 430 MB file in your Tesserix folder. This will take up to 4 hours. Proceed?",
    "Not enough RAM to solve center-twisted Cubes.",
    "Unable to load the 430 MB Solver Table for center-twisted Cubes.",
    "Unable to write the 430 MB Solver Table for center-twisted cubes."};
const TableLoader::OptionalTable kHugeTable{
    "ubigPF.prun", TableLoader::kHugeBytes, index::kHugeParts * ((index::kPhase1Entries + 15) / 16) * 4,
    "Tesserix will now create a 1881 MB file in your Tesserix folder. This will take up to 4 hours. Proceed?",
    "Not enough RAM. Tesserix needs 2600 MB. Please close all other applications.",
    "Unable to load the 1881 MB Huge Optimal Solver Table.",
    "Unable to write the 1881 MB Huge Optimal Solver Table."};
// The huge file is read in pieces of a part, for the progress bar.
constexpr int kHugeReadPieces = 34;
constexpr std::uint64_t kHugePiece = TableLoader::kPhase1Bytes / kHugeReadPieces;
static_assert(kHugePiece * kHugeReadPieces == TableLoader::kPhase1Bytes);

}  // namespace

// ---------------------------------------------------------------- centre tables

bool TableLoader::loadCenterTables() {
    freeCenterTables();  // let go first: the new table may need the memory
    const TableSet set = current();
    auto center = makeCenterTables(set.coords.get(), set.sliceMode());
    if (center) publishPart(&TableSet::center, center);
    return center != nullptr;
}

void TableLoader::freeCenterTables() { publishPart(&TableSet::center, {}); }

bool TableLoader::readCenterTable(const std::string& name, CenterTables& c) {
    progress_.setLabel("Loading " + name + " (430 MB)");
    progress_.setRange(0, kTwists);
    return readTableFile(*disk, file(name), c.center.bytes.data(), kCenterBytes, kTwists, [&](int i) {
        progress_.setPosition(i + 1);
        if ((i & 63) == 0) progress_.pump();
        loader::stopIfCancelled(progress_);
    });
}

bool TableLoader::buildCenterTable(const CoordTables& t, const std::string& name, CenterTables& c) {
    const Stabilisers& stab = analyzeFlipSlice(t);
    return loader::buildPackedFile(CenterSpace(t, c.sliceMode, &stab), file(name), name,
                                   "Creating " + name + " (430 MB)", 14, kTwists, threads, progress_, statistics,
                                   c.center);
}

void TableLoader::buildCenterSliceDepth(const CoordTables& t, CenterTables& c) {
    auto& depth = c.centerSliceDepth;
    constexpr std::uint64_t n = index::kCenterSliceEntries;
    allocate(n);
    depth.assign(n, 255);
    depth[0] = 0;
    const auto& moves = tableMoves(c.sliceMode, false);
    progress_.setLabel("Please wait...");
    progress_.setRange(0, 10);
    std::uint64_t done = 1;
    for (int d = 0; done < n && d < 40; ++d) {
        progress_.setPosition(std::min(d, 10));
        for (std::uint64_t i = 0; i < n; ++i) {
            if ((i & 0xFFFFF) == 0) {
                progress_.pump();
                loader::stopIfCancelled(progress_);
            }
            if (depth[i] != d) continue;
            const auto ss = static_cast<std::uint32_t>(i / kCenterOris), co = static_cast<std::uint32_t>(i % kCenterOris);
            for (int m : moves) {
                const std::uint64_t j = index::centerSlice(t.sliceSortedMove[ss * kMoves + m], t.centerOriMove[co * kMoves + m]);
                if (depth[j] == 255) {
                    depth[j] = static_cast<std::uint8_t>(d + 1);
                    ++done;
                }
            }
        }
    }
}

std::shared_ptr<const CenterTables> TableLoader::makeCenterTables(const CoordTables* t, bool sliceMode) {
    auto c = std::make_shared<CenterTables>();
    c->sliceMode = sliceMode;
    const bool made = makeOptional(kCenterTable, t, sliceMode, [&](const std::string& name) {
        c->center.bytes.resize(kCenterBytes);
        c->center.entries = index::kCenterEntries;
        return readCenterTable(name, *c);
    }, [&](const std::string& name) { return buildCenterTable(*t, name, *c); }, [&] { buildCenterSliceDepth(*t, *c); });
    return made ? c : nullptr;
}

// ---------------------------------------------------------------- huge table

bool TableLoader::loadHugeTable() {
    freeHugeTable();  // let go first: the new table needs the memory
    const TableSet set = current();
    auto huge = makeHugeTable(set.coords.get(), set.sliceMode());
    if (huge) publishPart(&TableSet::huge, huge);
    return huge != nullptr;
}

void TableLoader::freeHugeTable() { publishPart(&TableSet::huge, {}); }

bool TableLoader::readHugeTable(const std::string& name, HugeTable& h) {
    h.parts.assign(index::kHugeParts, PackedTable{});
    for (auto& part : h.parts) {
        part.entries = index::kPhase1Entries;
        part.bytes.resize(kPhase1Bytes);
    }
    progress_.setLabel("Loading " + name + " (1881 MB)");
    progress_.setRange(0, index::kHugeParts);
    std::FILE* f = disk->openForReading(file(name));
    if (!f) return false;
    bool ok = true;
    for (int i = 0; i < index::kHugeParts && ok; ++i) {
        for (int piece = 0; piece < kHugeReadPieces && ok; ++piece)
            ok = std::fread(h.parts[i].bytes.data() + piece * kHugePiece, 1, kHugePiece, f) == kHugePiece;
        progress_.setPosition(i + 1);
        progress_.pump();
        if (progress_.cancelRequested()) ok = false;
    }
    std::fclose(f);
    loader::stopIfCancelled(progress_);
    return ok;
}

bool TableLoader::buildHugeTable(const CoordTables& t, const std::string& name, HugeTable& h) {
    const Stabilisers& stab = analyzeFlipSlice(t);
    // One packed table per D-corner position.
    h.parts.assign(index::kHugeParts, PackedTable{});
    loader::generatePacked(HugeSpace(t, h.sliceMode, &stab), h.parts, name, "Creating " + name + " (1881 MB)", 13,
                           threads, progress_, statistics);
    progress_.setLabel("Writing " + name);
    progress_.setRange(0, index::kHugeParts);
    TableChecksum sum;
    const bool written = writeFileAtomically(file(name), [&](FileSink& sink) {
        for (int d = 0; d < index::kHugeParts; ++d) {
            if (!sink.write(h.parts[d].bytes.data(), kPhase1Bytes)) return false;
            sum.update(h.parts[d].bytes.data(), kPhase1Bytes);
            progress_.setPosition(d + 1);
            progress_.pump();
            loader::stopIfCancelled(progress_);
        }
        return true;
    }).ok;
    if (written) recordTableChecksum(folder_, name, {sum.digest(), kHugeBytes});
    return written;
}

std::shared_ptr<const HugeTable> TableLoader::makeHugeTable(const CoordTables* t, bool sliceMode) {
    auto h = std::make_shared<HugeTable>();
    h->sliceMode = sliceMode;
    const bool made = makeOptional(kHugeTable, t, sliceMode, [&](const std::string& name) { return readHugeTable(name, *h); },
                                   [&](const std::string& name) { return buildHugeTable(*t, name, *h); }, [] {});
    return made ? h : nullptr;
}

// Reads the table's file or, after asking, builds it; every failure is told (false). The
// coordinate tables are needed only to build the table and to finish it.
bool TableLoader::makeOptional(const OptionalTable& table, const CoordTables* t, bool sliceMode,
                               const std::function<bool(const std::string&)>& read,
                               const std::function<bool(const std::string&)>& build, const std::function<void()>& finish) {
    const std::string name = modeFileName(table.file, sliceMode);
    progress_.setVisible(true);
    auto t0 = Clock::now();
    auto fail = [&](const std::string& text) {
        progress_.setVisible(false);
        prompts_.message(text, "", Icon::Warning);
        return false;
    };
    try {
        progress_.setLabel("Initializing memory. Please wait...");
        if (fileUsable(name, table.bytes)) {
            // A file that cannot be opened fails before hundreds of megabytes are allocated.
            std::FILE* probe = disk->openForReading(file(name));
            if (!probe) return fail(table.unableToLoad);
            std::fclose(probe);
            allocate(table.bytes);
            if (!read(name)) return fail(table.unableToLoad);
            if (!t) return fail(kNotStarted);
            report(name, table.bytes, false, since(t0));
        } else {
            allocate(table.workBytes);
            if (prompts_.ask({table.buildQuestion, "", Icon::Warning, Buttons::YesNo}) != Answer::Yes) {
                progress_.setVisible(false);
                return false;
            }
            if (!t) return fail(kNotStarted);
            if (!build(name)) return fail(table.unableToWrite);
            report(name, table.bytes, true, since(t0));
        }
        finish();
    } catch (const std::bad_alloc&) {
        return fail(table.noRam);
    } catch (const loader::BuildCancelled&) {  // asked for: nothing to tell
        progress_.setVisible(false);
        return false;
    }
    progress_.setVisible(false);
    return true;
}

}  // namespace tx
