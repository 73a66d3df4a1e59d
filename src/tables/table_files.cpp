#include "tables/table_files.hpp"

#include <unistd.h>

#include <cstdio>
#include <system_error>

namespace tx {

namespace fs = std::filesystem;

long long tableFileSize(const fs::path& file) {
    std::error_code ec;
    auto size = fs::file_size(file, ec);
    return ec ? -1 : static_cast<long long>(size);
}

bool readTableFile(const fs::path& file, void* data, std::uint64_t bytes, int chunks,
                   const std::function<void(int)>& onChunk) {
    std::FILE* f = std::fopen(file.c_str(), "rb");
    if (!f) return false;
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
    std::fclose(f);
    return ok && done == bytes;
}

bool writeTableFile(const fs::path& file, const void* data, std::uint64_t bytes, std::uint64_t blockBytes,
                    const std::function<void(std::uint64_t)>& onBlock) {
    fs::path tmp = file;
    tmp += ".part" + std::to_string(::getpid());  // unique, so concurrent builders never collide
    std::FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f) return false;
    const auto* in = static_cast<const unsigned char*>(data);
    bool ok = true;
    std::uint64_t block = 0;
    for (std::uint64_t done = 0; done < bytes; done += blockBytes, ++block) {
        std::uint64_t n = std::min(blockBytes, bytes - done);
        if (std::fwrite(in + done, 1, n, f) != n) {
            ok = false;
            break;
        }
        if (onBlock) onBlock(block);
    }
    if (std::fflush(f) != 0) ok = false;
    if (std::fclose(f) != 0) ok = false;
    std::error_code ec;
    if (ok) {
        fs::rename(tmp, file, ec);
        ok = !ec;
    }
    if (!ok) fs::remove(tmp, ec);
    return ok;
}

std::string modeFileName(const std::string& name, bool sliceMode) {
    if (!sliceMode) return name;
    auto dot = name.rfind('.');
    if (dot == std::string::npos) return name + "s";
    return name.substr(0, dot) + "s" + name.substr(dot);
}

}  // namespace tx
