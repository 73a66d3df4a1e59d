#pragma once
// Raw little-endian table files without headers. Writes go through the atomic file writer,
// so a crash never leaves a truncated table.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

namespace tx {

// -1 when the file does not exist.
long long tableFileSize(const std::filesystem::path& file);

// What the loader asks of the disk before and while it reads: file sizes, the free space,
// opening a file. The real disk by default; tests put in a disk that fails where they want.
class TableDisk {
public:
    virtual ~TableDisk() = default;
    virtual long long fileSize(const std::filesystem::path& file) const;    // -1: no such file
    virtual long long freeBytes(const std::filesystem::path& folder) const;  // -1: unknown
    virtual std::FILE* openForReading(const std::filesystem::path& file) const;  // null: cannot
    static const TableDisk& real();
};

// Reads exactly `bytes` bytes; false on any failure (missing, short, unreadable).
// onChunk(i) is called after each of `chunks` equal pieces (progress).
bool readTableFile(const TableDisk& disk, const std::filesystem::path& file, void* data, std::uint64_t bytes,
                   int chunks = 1, const std::function<void(int)>& onChunk = {});
inline bool readTableFile(const std::filesystem::path& file, void* data, std::uint64_t bytes, int chunks = 1,
                          const std::function<void(int)>& onChunk = {}) {
    return readTableFile(TableDisk::real(), file, data, bytes, chunks, onChunk);
}

// Writes `bytes` bytes in blocks of blockBytes, calling onBlock(i) after block i.
bool writeTableFile(const std::filesystem::path& file, const void* data, std::uint64_t bytes,
                    std::uint64_t blockBytes = 1 << 20, const std::function<void(std::uint64_t)>& onBlock = {});

// The file name of a mode-dependent table: "s" before the extension in slice mode.
std::string modeFileName(const std::string& name, bool sliceMode);

}  // namespace tx
