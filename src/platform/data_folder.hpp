#pragma once
// Where tables and cube.ini live: --data-dir, else $TESSERIX_DATA, else the executable's
// folder when it is writable and not an installed program's, else $XDG_DATA_HOME/tesserix
// (~/.local/share/tesserix).
#include <filesystem>
#include <optional>
#include <string>

namespace tx {

struct DataFolder {
    std::filesystem::path path;
    std::string note;  // non-empty when the folder is a fallback the user should hear about
};

// Installed programs (PREFIX/bin) have this file in PREFIX/share/tesserix.
inline constexpr const char* kInstalledMarker = "installed";

std::filesystem::path executableFolder();
bool installedLayout(const std::filesystem::path& exeFolder);
DataFolder resolveDataFolder(const std::optional<std::string>& explicitDir);
bool folderWritable(const std::filesystem::path& folder);
// Free bytes on the drive that holds folder, or -1 when unknown.
long long freeDiskBytes(const std::filesystem::path& folder);

}  // namespace tx
