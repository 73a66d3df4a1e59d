#pragma once
// A fresh folder under the system's temporary folder, removed with the object (permissions a
// test took away are given back first), and whole-file reads and writes.
#include <filesystem>
#include <string>
#include <string_view>

namespace tx::testing {

class TempFolder {
public:
    explicit TempFolder(std::string_view tag = "test");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

std::string readFile(const std::filesystem::path& file);
void writeFile(const std::filesystem::path& file, const std::string& bytes);

}  // namespace tx::testing
