#pragma once
// Steps the loader's files share (internal to src/tables): timing, generation with the
// progress bar, and writing a generated table as a packed file.
#include <chrono>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "platform/progress.hpp"
#include "tables/loader.hpp"
#include "tables/prune_generate.hpp"
#include "tables/table_files.hpp"

namespace tx::loader {

using Clock = std::chrono::steady_clock;
inline double since(Clock::time_point t0) { return std::chrono::duration<double>(Clock::now() - t0).count(); }

// Thrown at a check point when the person asked to cancel: the loader's entry points catch it
// and answer as for a table that was not made. Files are written atomically, so a cancelled
// build leaves neither a table file nor a temporary.
struct BuildCancelled {};
inline void stopIfCancelled(const Progress& p) {
    if (p.cancelRequested()) throw BuildCancelled{};
}

// A RowCallback that moves the bar to the row and keeps the window alive.
inline void rowProgress(void* ctx, long long row) {
    auto* p = static_cast<Progress*>(ctx);
    p->setPosition(row);
    p->pump();
    stopIfCancelled(*p);
}

// Generation with the progress bar over passes; the pump runs while each pass works.
template <class Space>
std::vector<PassCount> generateWithProgress(const Space& space, TwoBitTable& work, int threads, Progress& progress) {
    return generateTable(space, work, threads, [&](int pass) {
        if (pass >= 0) progress.setPosition(pass + 1);
        progress.pump();
        stopIfCancelled(progress);
    });
}

// Generates a table and packs it into `parts` (consecutive tables of equal size, one for most
// tables). Packing gives the working table's memory back as it goes, so the two never both
// occupy memory in full.
template <class Space>
void generatePacked(const Space& space, std::span<PackedTable> parts, const std::string& name,
                    const std::string& createLabel, int passRange, int threads, Progress& progress,
                    std::vector<TableStatistics>& statistics) {
    TwoBitTable work;
    progress.setLabel(createLabel);
    progress.setRange(0, passRange);
    auto passes = generateWithProgress(space, work, threads, progress);
    statistics.push_back({name, passes});
    packAndRelease(std::move(work), parts, [&] {
        progress.pump();
        stopIfCancelled(progress);
    });
}

// Builds a packed table file: generate, pack, write in blocks; the packed table stays in
// `packed`. False when the file could not be written.
template <class Space>
bool buildPackedFile(const Space& space, const std::filesystem::path& path, const std::string& name,
                     const std::string& createLabel, int passRange, std::uint64_t blockBytes, int threads,
                     Progress& progress, std::vector<TableStatistics>& statistics, PackedTable& packed) {
    generatePacked(space, {&packed, 1}, name, createLabel, passRange, threads, progress, statistics);
    progress.setLabel("Writing " + name);
    progress.setRange(0, static_cast<long long>(packed.bytes.size() / blockBytes));
    return writeTableFile(path, packed.bytes.data(), packed.bytes.size(), blockBytes, [&](std::uint64_t b) {
        progress.setPosition(static_cast<long long>(b + 1));
        progress.pump();
        stopIfCancelled(progress);
    });
}

}  // namespace tx::loader
