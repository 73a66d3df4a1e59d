#include "tables/table_manifest.hpp"

#include <cstdio>
#include <cstring>
#include <mutex>
#include <sstream>

#include "platform/atomic_file.hpp"
#include "tables/loader.hpp"
#include "tables/table_files.hpp"

namespace tx {

namespace fs = std::filesystem;

// ---------------------------------------------------------------- XXH64

namespace {

constexpr std::uint64_t kP1 = 0x9E3779B185EBCA87ull, kP2 = 0xC2B2AE3D27D4EB4Full, kP3 = 0x165667B19E3779F9ull,
                        kP4 = 0x85EBCA77C2B2AE63ull, kP5 = 0x27D4EB2F165667C5ull;

constexpr std::uint64_t rotl(std::uint64_t x, int r) { return (x << r) | (x >> (64 - r)); }
std::uint64_t read64(const unsigned char* p) {
    std::uint64_t v;
    std::memcpy(&v, p, 8);  // the tables are little-endian, like the machines that run them
    return v;
}
std::uint32_t read32(const unsigned char* p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}
std::uint64_t round(std::uint64_t acc, std::uint64_t input) { return rotl(acc + input * kP2, 31) * kP1; }
std::uint64_t merge(std::uint64_t h, std::uint64_t acc) { return (h ^ round(0, acc)) * kP1 + kP4; }

}  // namespace

void TableChecksum::update(const void* data, std::size_t size) {
    const auto* p = static_cast<const unsigned char*>(data);
    total_ += size;
    if (buffered_ > 0) {
        const std::size_t take = std::min(size, sizeof buffer_ - buffered_);
        std::memcpy(buffer_ + buffered_, p, take);
        buffered_ += take;
        p += take;
        size -= take;
        if (buffered_ < sizeof buffer_) return;
        for (int i = 0; i < 4; ++i) acc_[i] = round(acc_[i], read64(buffer_ + 8 * i));
        buffered_ = 0;
    }
    for (; size >= 32; p += 32, size -= 32)
        for (int i = 0; i < 4; ++i) acc_[i] = round(acc_[i], read64(p + 8 * i));
    std::memcpy(buffer_, p, size);
    buffered_ = size;
}

std::uint64_t TableChecksum::digest() const {
    std::uint64_t h;
    if (total_ >= 32) {
        h = rotl(acc_[0], 1) + rotl(acc_[1], 7) + rotl(acc_[2], 12) + rotl(acc_[3], 18);
        for (std::uint64_t a : acc_) h = merge(h, a);
    } else {
        h = kP5;
    }
    h += total_;
    const unsigned char* p = buffer_;
    std::size_t left = buffered_;
    for (; left >= 8; p += 8, left -= 8) h = rotl(h ^ round(0, read64(p)), 27) * kP1 + kP4;
    if (left >= 4) {
        h = rotl(h ^ (std::uint64_t(read32(p)) * kP1), 23) * kP2 + kP3;
        p += 4;
        left -= 4;
    }
    for (; left > 0; ++p, --left) h = rotl(h ^ (*p * kP5), 11) * kP1;
    h ^= h >> 33;
    h *= kP2;
    h ^= h >> 29;
    h *= kP3;
    h ^= h >> 32;
    return h;
}

std::uint64_t tableChecksum(const void* data, std::size_t size) {
    TableChecksum sum;
    sum.update(data, size);
    return sum.digest();
}

// ---------------------------------------------------------------- the manifest

namespace {

constexpr const char* kManifestHeader = "# Tesserix table checksums (XXH64): checksum, size in bytes, file name\n";

std::map<std::string, RecordedChecksum> parseManifest(const std::string& text) {
    std::map<std::string, RecordedChecksum> entries;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string hex, name;
        RecordedChecksum r;
        if (!(fields >> hex >> r.bytes >> name) || hex.size() != 16 ||
            hex.find_first_not_of("0123456789abcdef") != std::string::npos)
            continue;
        r.checksum = std::stoull(hex, nullptr, 16);
        entries[name] = r;
    }
    return entries;
}

std::string readSmallFile(const fs::path& file) {
    std::string text;
    std::FILE* f = std::fopen(file.c_str(), "rb");
    if (!f) return text;
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0 && text.size() < (1u << 20);) text.append(buf, n);
    std::fclose(f);
    return text;
}

// Recording reads the manifest, changes one line and writes it back: one writer at a time.
std::mutex& manifestMutex() {
    static std::mutex m;
    return m;
}

}  // namespace

std::map<std::string, RecordedChecksum> readTableManifest(const fs::path& folder) {
    return parseManifest(readSmallFile(folder / kTableManifestName));
}

bool recordTableChecksum(const fs::path& folder, const std::string& name, RecordedChecksum recorded) {
    std::lock_guard lock(manifestMutex());
    auto entries = readTableManifest(folder);
    entries[name] = recorded;
    std::string text = kManifestHeader;
    for (const auto& [file, r] : entries) {
        char line[64];
        std::snprintf(line, sizeof line, "%016llx %llu ", static_cast<unsigned long long>(r.checksum),
                      static_cast<unsigned long long>(r.bytes));
        text += line + file + "\n";
    }
    return writeFileAtomically(folder / kTableManifestName, text).ok;
}

TableFileState checkTableFile(const fs::path& folder, const std::string& name) {
    const auto entries = readTableManifest(folder);
    const auto it = entries.find(name);
    if (it == entries.end()) return TableFileState::NotRecorded;
    if (tableFileSize(folder / name) != static_cast<long long>(it->second.bytes)) return TableFileState::WrongSize;
    std::FILE* f = std::fopen((folder / name).c_str(), "rb");
    if (!f) return TableFileState::Unreadable;
    TableChecksum sum;
    std::vector<unsigned char> buf(1 << 20);
    std::size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), f)) > 0) sum.update(buf.data(), n);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) return TableFileState::Unreadable;
    return sum.digest() == it->second.checksum ? TableFileState::Matches : TableFileState::Differs;
}

std::vector<TableFileCheck> verifyTableFolder(const fs::path& folder) {
    struct Known {
        const char* name;
        std::uint64_t bytes;
        bool modeDependent;
    };
    static const Known kFiles[] = {
        {"RawFlipSlice", TableLoader::kRawFlipSliceBytes, false},
        {"flipUDslicex.move", TableLoader::kFlipSliceMoveBytes, false},
        {"phase1PF.prun", TableLoader::kPhase1Bytes, true},
        {"phase2P.prun", TableLoader::kPhase2Bytes, true},
        {"fullCornerF.prun", TableLoader::kCornerBytes, true},
        {"phase1CntPF.prun", TableLoader::kCenterBytes, true},
        {"ubigPF.prun", TableLoader::kHugeBytes, true},
    };
    std::vector<TableFileCheck> checks;
    for (const Known& known : kFiles) {
        for (bool slice : {false, true}) {
            if (slice && !known.modeDependent) continue;
            const std::string name = modeFileName(known.name, slice);
            const long long size = tableFileSize(folder / name);
            if (size < 0) continue;
            TableFileCheck check{name, static_cast<std::uint64_t>(size), TableFileState::WrongSize};
            if (static_cast<std::uint64_t>(size) == known.bytes) check.state = checkTableFile(folder, name);
            checks.push_back(check);
        }
    }
    return checks;
}

const char* describe(TableFileState state) {
    switch (state) {
    case TableFileState::Matches: return "ok";
    case TableFileState::NotRecorded: return "no checksum recorded";
    case TableFileState::Differs: return "checksum mismatch";
    case TableFileState::WrongSize: return "wrong size";
    case TableFileState::Unreadable: return "unreadable";
    }
    return "";
}

}  // namespace tx
