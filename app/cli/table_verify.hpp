#pragma once
// tesserix-cli tables --verify: checks every table file present against its recorded checksum.
#include <filesystem>

namespace tx::cli {

// Prints one line per file (name, bytes, state) and answers the exit code: 1 when a file
// differs from its checksum or has the wrong size, 0 otherwise.
int verifyTables(const std::filesystem::path& folder);

}  // namespace tx::cli
