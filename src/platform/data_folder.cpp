#include "platform/data_folder.hpp"

#include <unistd.h>

#include <cstdlib>
#include <system_error>

namespace tx {

namespace fs = std::filesystem;

fs::path executableFolder() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return fs::current_path();
    return exe.parent_path();
}

bool folderWritable(const fs::path& folder) {
    std::error_code ec;
    if (!fs::exists(folder, ec)) return false;
    return ::access(folder.c_str(), W_OK) == 0;
}

long long freeDiskBytes(const fs::path& folder) {
    std::error_code ec;
    auto info = fs::space(folder, ec);
    if (ec) return -1;
    return static_cast<long long>(info.available);
}

namespace {

fs::path xdgDataFolder() {
    fs::path base;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
        base = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = fs::path(home) / ".local" / "share";
    else
        base = fs::temp_directory_path();
    std::error_code ec;
    fs::create_directories(base / "tesserix", ec);
    return base / "tesserix";
}

}  // namespace

bool installedLayout(const fs::path& exeFolder) {
    std::error_code ec;
    return fs::exists(exeFolder.parent_path() / "share" / "tesserix" / kInstalledMarker, ec);
}

DataFolder resolveDataFolder(const std::optional<std::string>& explicitDir) {
    std::error_code ec;
    if (explicitDir && !explicitDir->empty()) {
        fs::create_directories(*explicitDir, ec);
        return {fs::absolute(*explicitDir), ""};
    }
    if (const char* env = std::getenv("TESSERIX_DATA"); env && *env) {
        fs::create_directories(env, ec);
        return {fs::absolute(env), ""};
    }
    fs::path exe = executableFolder();
    // An installed program shares its folder (/usr/bin) with others, even when it could write
    // there: each user's tables and settings belong in the user's data folder.
    if (installedLayout(exe)) return {xdgDataFolder(), ""};
    if (folderWritable(exe)) return {exe, ""};
    fs::path folder = xdgDataFolder();
    return {folder, "The program's folder " + exe.string() + " is not writable; using " +
                        folder.string() + " for tables and settings."};
}

}  // namespace tx
