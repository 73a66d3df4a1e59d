#include "tables/table_files.hpp"

#include <cstdio>
#include <memory>
#include <system_error>

#include "platform/atomic_file.hpp"
#include "platform/data_folder.hpp"
#include "tables/table_manifest.hpp"

namespace tx {

namespace fs = std::filesystem;

long long tableFileSize(const fs::path& file) {
    std::error_code ec;
    auto size = fs::file_size(file, ec);
    return ec ? -1 : static_cast<long long>(size);
}

long long TableDisk::fileSize(const fs::path& file) const { return tableFileSize(file); }
long long TableDisk::freeBytes(const fs::path& folder) const { return freeDiskBytes(folder); }
std::FILE* TableDisk::openForReading(const fs::path& file) const { return std::fopen(file.c_str(), "rb"); }

const TableDisk& TableDisk::real() {
    static const TableDisk disk;
    return disk;
}

bool readTableFile(const TableDisk& disk, const fs::path& file, void* data, std::uint64_t bytes, int chunks,
                   const std::function<void(int)>& onChunk) {
    std::FILE* f = disk.openForReading(file);
    if (!f) return false;
    // Closed however the read ends, also when onChunk throws (a cancelled load).
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> closer(f, &std::fclose);
    auto* out = static_cast<unsigned char*>(data);
    if (chunks < 1) chunks = 1;
    std::uint64_t piece = (bytes + static_cast<std::uint64_t>(chunks) - 1) / static_cast<std::uint64_t>(chunks);
    std::uint64_t done = 0;
    bool ok = true;
    for (int i = 0; i < chunks && done < bytes; ++i) {
        std::uint64_t n = std::min(piece, bytes - done);
        if (std::fread(out + done, 1, n, f) != n) {
            ok = false;
            break;
        }
        done += n;
        if (onChunk) onChunk(i);
    }
    if (ok && std::fgetc(f) != EOF) ok = false;  // longer than expected
    return ok && done == bytes;
}

bool writeTableFile(const fs::path& file, const void* data, std::uint64_t bytes, std::uint64_t blockBytes,
                    const std::function<void(std::uint64_t)>& onBlock) {
    const auto* in = static_cast<const unsigned char*>(data);
    const bool written = writeFileAtomically(file, [&](FileSink& sink) {
        std::uint64_t block = 0;
        for (std::uint64_t done = 0; done < bytes; done += blockBytes, ++block) {
            if (!sink.write(in + done, std::min(blockBytes, bytes - done))) return false;
            if (onBlock) onBlock(block);
        }
        return true;
    }).ok;
    // The checksum that later loads compare the file with.
    if (written) recordTableChecksum(file.parent_path(), file.filename().string(), {tableChecksum(data, bytes), bytes});
    return written;
}

std::string modeFileName(const std::string& name, bool sliceMode) {
    if (!sliceMode) return name;
    auto dot = name.rfind('.');
    if (dot == std::string::npos) return name + "s";
    return name.substr(0, dot) + "s" + name.substr(dot);
}

}  // namespace tx
