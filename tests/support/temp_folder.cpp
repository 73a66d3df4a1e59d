#include "support/temp_folder.hpp"

#include <unistd.h>

#include <atomic>
#include <fstream>
#include <iterator>

namespace tx::testing {

namespace fs = std::filesystem;

TempFolder::TempFolder(std::string_view tag) {
    static std::atomic<int> counter{0};
    path_ = fs::temp_directory_path() /
            ("tesserix-" + std::string(tag) + "-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
    std::error_code ec;
    fs::remove_all(path_, ec);
    fs::create_directories(path_);
}

TempFolder::~TempFolder() {
    std::error_code ec;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

std::string readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const fs::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
}

}  // namespace tx::testing
