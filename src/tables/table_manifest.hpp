#pragma once
// Checksums of the table files. The files themselves stay raw arrays without headers; their
// checksums live in a small text file "tables.sum" in the same folder, one line per file:
// 16 hex digits of the checksum, the size in bytes and the file name. A checksum is recorded
// when a table file is written; a file whose checksum no longer matches is not trusted. A file
// without a recorded checksum (a folder made before checksums were kept) is trusted as it is.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace tx {

inline constexpr const char* kTableManifestName = "tables.sum";

// XXH64 with seed 0, fed piece by piece: the same value however the bytes are split.
class TableChecksum {
public:
    void update(const void* data, std::size_t size);
    std::uint64_t digest() const;

private:
    std::uint64_t acc_[4] = {0x9E3779B185EBCA87ull + 0xC2B2AE3D27D4EB4Full, 0xC2B2AE3D27D4EB4Full, 0,
                             0 - 0x9E3779B185EBCA87ull};
    unsigned char buffer_[32] = {};
    std::size_t buffered_ = 0;
    std::uint64_t total_ = 0;
};
std::uint64_t tableChecksum(const void* data, std::size_t size);

struct RecordedChecksum {
    std::uint64_t checksum = 0;
    std::uint64_t bytes = 0;
};
// The checksums recorded in folder (empty without a manifest; lines it cannot read are skipped).
std::map<std::string, RecordedChecksum> readTableManifest(const std::filesystem::path& folder);
// Records the checksum of one file, replacing an older one; false when the manifest could not
// be written (the table file itself is fine then, only unrecorded).
bool recordTableChecksum(const std::filesystem::path& folder, const std::string& name, RecordedChecksum recorded);

enum class TableFileState { Matches, NotRecorded, Differs, WrongSize, Unreadable };
// Reads the file through and compares it with its recorded checksum and size.
TableFileState checkTableFile(const std::filesystem::path& folder, const std::string& name);

struct TableFileCheck {
    std::string name;
    std::uint64_t bytes = 0;  // the size the file has
    TableFileState state = TableFileState::NotRecorded;
};
// Every table file present in folder, checked, in start-up order.
std::vector<TableFileCheck> verifyTableFolder(const std::filesystem::path& folder);
const char* describe(TableFileState state);

}  // namespace tx
