#pragma once
// The request logic of the web server without any socket: the answer frames, how the path
// is cut out of a request, which of the ten kinds of request a path is, and the small
// parsers each kind needs. Everything here is plain text in, text out.
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tx {

class FaceletCube;

namespace http {

// The program's answer texts.
inline constexpr std::string_view kDoneText = "Done!";
inline constexpr std::string_view kBufferEmptyText = "Buffer is empty!";
inline constexpr std::string_view kNoDeviceIndexText = "Error. No valid capture device index!";
inline constexpr std::string_view kWrongCommandText = "Wrong command!";
inline constexpr std::string_view kCannotSolveText =
    "Cube cannot be solved. Missing or wrong facelet colors!";
// A waiting client whose entry was taken out of the list (cleared, deleted) before its
// search ended gets this instead of a maneuver.
inline constexpr std::string_view kEntryRemovedText =
    "Cube was removed from the list before its search ended.";
// The file the facelet answers are mirrored into, in the working folder.
inline constexpr std::string_view kAnswerFileName = "webserv_ans.txt";

// At most this many bytes of a request are read.
inline constexpr std::size_t kMaxRequestBytes = 5001;

// Answer frames: HTTP/1.0 200 without headers, the body in a minimal HTML page.
std::string htmlAnswer(std::string_view body);
std::string refusalAnswer();  // the HTML answer "invalid request"
std::string doneAnswer();     // the HTML answer "Done!"
// Header of a file answer; the file's bytes follow unchanged. The date is fixed.
std::string fileAnswerHeader();

// The request text: the bytes read, up to the first zero byte.
std::string requestText(std::string_view raw);

// The path between the first "GET" and the first "HTTP", trimmed of blanks and control
// characters, one leading "/" removed. Empty when either word is missing or "HTTP" comes
// too early, so such a request is refused like an empty path.
std::string extractPath(std::string_view request);

// The rows of the request table in the order they are tried. An empty path is refused
// before the busy test; everything else is classified by substring search.
enum class RequestKind { Empty, File, GetLast, Status, Connect, Clear, Scan, Transfer, Facelets };
RequestKind classify(std::string_view path);

// "?connect": the last character of the path as a decimal digit.
std::optional<int> connectDeviceIndex(std::string_view path);
// "?scan": the face letter right after "?scan", upper case, when it is one of B D F L R U in
// either case.
std::optional<char> scanFace(std::string_view path);

// The part of a facelet request that holds the letters: everything after the first "?", or
// the whole path when there is none.
std::string_view faceletLetters(std::string_view path);
// Fills `cube` from the letters of a facelet request (the first 54 face letters before a line
// end) and checks it as every command checks a cube (readCube), centre parity included when
// the cube's centres count. Answers "" when the cube can be solved, else kCannotSolveText
// (the fixed answer clients know): a cube the check would have to alter (a twisted corner, a
// flipped edge, odd parity) is not solved, because its solution would be that of a cube the
// client did not send.
std::string readFaceletRequest(std::string_view path, FaceletCube& cube);

// The file a "faces"/"gif" request names, when it is a regular file inside `folder`: no
// absolute paths, no "..", and no symbolic link that leads out of the folder. nullopt for
// anything else, which is refused.
std::optional<std::filesystem::path> resolveFacesFile(const std::filesystem::path& folder,
                                                      std::string_view path);

}  // namespace http
}  // namespace tx
