#include "server/request.hpp"

#include <algorithm>

#include "cube/cube_input.hpp"
#include "platform/text.hpp"

namespace tx::http {
namespace {

constexpr std::string_view kStatusLine = "HTTP/1.0 200 OK\r\n";
constexpr std::string_view kBodyStart = "\r\n<HTML><BODY>\r\n";
constexpr std::string_view kBodyEnd = "\r\n</BODY></HTML>\r\n";

bool contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

}  // namespace

std::string htmlAnswer(std::string_view body) {
    std::string s;
    s.reserve(kStatusLine.size() + kBodyStart.size() + body.size() + kBodyEnd.size());
    s.append(kStatusLine).append(kBodyStart).append(body).append(kBodyEnd);
    return s;
}

std::string refusalAnswer() { return htmlAnswer("invalid request"); }

std::string doneAnswer() { return htmlAnswer(kDoneText); }

std::string fileAnswerHeader() {
    return std::string(kStatusLine) + "Last-Modified: Mon, 15 Jan 2004 11:11:11 GMT\r\n\r\n";
}

std::string requestText(std::string_view raw) {
    return std::string(raw.substr(0, raw.find('\0')));
}

std::string extractPath(std::string_view request) {
    const auto g = request.find("GET");
    const auto h = request.find("HTTP");
    if (g == std::string_view::npos || h == std::string_view::npos || h < g + 3) return {};
    std::string_view path = request.substr(g + 3, h - g - 3);
    path = trim(path);
    if (!path.empty() && path.front() == '/') path.remove_prefix(1);
    return std::string(path);
}

RequestKind classify(std::string_view path) {
    if (path.empty()) return RequestKind::Empty;
    if (contains(path, "gif") && contains(path, "faces")) return RequestKind::File;
    if (contains(path, "?getLast") || contains(path, "?getlast")) return RequestKind::GetLast;
    if (contains(path, "?status") || contains(path, "?Status")) return RequestKind::Status;
    if (contains(path, "?connect") || contains(path, "?Connect")) return RequestKind::Connect;
    if (contains(path, "?clear") || contains(path, "?Clear")) return RequestKind::Clear;
    if (contains(path, "?scan")) return RequestKind::Scan;
    if (contains(path, "?transfer")) return RequestKind::Transfer;
    return RequestKind::Facelets;
}

std::optional<int> connectDeviceIndex(std::string_view path) {
    if (path.empty()) return std::nullopt;
    const char last = path.back();
    if (last < '0' || last > '9') return std::nullopt;
    return last - '0';
}

std::optional<char> scanFace(std::string_view path) {
    constexpr std::string_view kScan = "?scan";
    const auto at = path.find(kScan);
    if (at == std::string_view::npos || at + kScan.size() >= path.size()) return std::nullopt;
    char face = path[at + kScan.size()];
    if (face >= 'a' && face <= 'z') face = char(face - 'a' + 'A');
    if (std::string_view("BDFLRU").find(face) == std::string_view::npos) return std::nullopt;
    return face;
}

std::string_view faceletLetters(std::string_view path) {
    const auto q = path.find('?');
    return q == std::string_view::npos ? path : path.substr(q + 1);
}

std::string readFaceletRequest(std::string_view path, FaceletCube& cube) {
    CubeTextOptions options;
    options.centersCount = cube.centersCount;
    options.webRequest = true;
    const CubeText read = readCube(faceletLetters(path), options);
    cube = read.cube;
    return read.ok() ? std::string() : std::string(kCannotSolveText);
}

std::optional<std::filesystem::path> resolveFacesFile(const std::filesystem::path& folder,
                                                      std::string_view path) {
    namespace fs = std::filesystem;
    if (path.empty() || path.front() == '/' || contains(path, "..")) return std::nullopt;
    const fs::path relative(path);
    if (relative.is_absolute() || relative.has_root_path()) return std::nullopt;
    std::error_code ec;
    const fs::path root = fs::canonical(folder, ec);
    if (ec) return std::nullopt;
    // canonical() resolves every symbolic link, so a link leading out lands outside root.
    const fs::path file = fs::canonical(root / relative, ec);
    if (ec) return std::nullopt;
    const auto [rootEnd, fileAt] = std::mismatch(root.begin(), root.end(), file.begin(), file.end());
    if (rootEnd != root.end() || fileAt == file.end()) return std::nullopt;
    if (!fs::is_regular_file(file, ec) || ec) return std::nullopt;
    return file;
}

}  // namespace tx::http
