// The web server's request reading, without a socket: the request text, the path, its kind
// and the small parsers behind each kind. A facelet request that is accepted names a whole,
// consistent cube; a file request that is accepted names a regular file inside the folder.
#include <fstream>

#include "cube/facelet_cube.hpp"
#include "fuzz_check.hpp"
#include "server/request.hpp"

using namespace tx;

namespace {

namespace fs = std::filesystem;

// The served folder: two files, a subfolder, and links that lead out of it.
const fs::path& servedFolder() {
    static const fs::path folder = [] {
        const fs::path dir = fuzz::scratchFolder() / "served";
        std::error_code ec;
        fs::create_directories(dir / "sub", ec);
        std::ofstream(dir / "faces.gif") << "x";
        std::ofstream(dir / "sub" / "faces1.gif") << "x";
        fs::create_symlink("/etc", dir / "faces", ec);
        fs::create_symlink("/etc/hostname", dir / "faces2.gif", ec);
        std::ofstream(fuzz::scratchFolder() / "faces3.gif") << "x";
        return fs::canonical(dir);
    }();
    return folder;
}

bool inside(const fs::path& file, const fs::path& folder) {
    std::error_code ec;
    const fs::path real = fs::canonical(file, ec);
    if (ec) return false;
    const auto rel = real.lexically_relative(folder);
    return !rel.empty() && *rel.begin() != "..";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view raw = fuzz::asText(data, std::min(size, http::kMaxRequestBytes));
    const std::string request = http::requestText(raw);
    FUZZ_REQUIRE(request.find('\0') == std::string::npos);
    const std::string path = http::extractPath(request);
    if (!path.empty()) FUZZ_REQUIRE(static_cast<unsigned char>(path.back()) > ' ');
    FUZZ_REQUIRE(path.size() <= request.size());

    switch (http::classify(path)) {
    case http::RequestKind::Empty:
        FUZZ_REQUIRE(path.empty());
        break;
    case http::RequestKind::Connect:
        if (auto index = http::connectDeviceIndex(path)) FUZZ_REQUIRE(*index >= 0 && *index <= 9);
        break;
    case http::RequestKind::Scan:
        if (auto face = http::scanFace(path)) FUZZ_REQUIRE(std::string_view("BDFLRU").find(*face) != std::string_view::npos);
        break;
    case http::RequestKind::File:
        if (auto file = http::resolveFacesFile(servedFolder(), path)) {
            FUZZ_REQUIRE(fs::is_regular_file(*file));
            FUZZ_REQUIRE(inside(*file, servedFolder()));
        }
        break;
    case http::RequestKind::Facelets: {
        FaceletCube cube;
        const std::string answer = http::readFaceletRequest(path, cube);
        if (answer.empty()) {
            FUZZ_REQUIRE(cube.isComplete() && cube.centersInPlace());
            FaceletCube checked = cube;
            FUZZ_REQUIRE(checked.checkAll());
        } else {
            FUZZ_REQUIRE(answer == http::kCannotSolveText);
        }
        break;
    }
    default:
        break;
    }
    return 0;
}
