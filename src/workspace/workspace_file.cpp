// Saving and loading workspace files.
#include "workspace/workspace_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "cube/notation.hpp"
#include "platform/atomic_file.hpp"
#include "platform/text.hpp"
#include "workspace/cube_list.hpp"

namespace tx {

namespace fs = std::filesystem;

namespace {

std::string errnoText(int err) { return std::strerror(err); }

// L of the first length mark "(" L metricLetter ")" in text (or "...*)" when starred is
// allowed), or -1. Files are the one place where the program reads maneuver texts back.
int markLength(std::string_view text, char metricLetter, bool starred) {
    for (auto open = text.find('('); open != std::string_view::npos; open = text.find('(', open + 1)) {
        std::size_t i = open + 1;
        int value = 0, digits = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9' && digits < 3) value = value * 10 + (text[i++] - '0'), ++digits;
        if (digits == 0 || i + 1 >= text.size() || text[i] != metricLetter) continue;
        if (text[i + 1] == ')') return value;
        if (starred && text[i + 1] == '*' && i + 2 < text.size() && text[i + 2] == ')') return value;
    }
    return -1;
}

// A name fit for one line: no line ends or other control characters, no outer blanks.
std::string cleanName(const std::string& name) {
    std::string s = name;
    for (char& ch : s)
        if (static_cast<unsigned char>(ch) < ' ' || ch == '\x7F') ch = ' ';
    return std::string(trim(s));
}

// Whether the reader makes of a written maneuver body the entry's cube and, for an optimal
// maneuver, an optimal one again (a mark it cannot read would turn it into an ordinary one).
bool readsBackAs(const std::string& body, const Entry& e, char metricLetter) {
    const auto loaded = parseWorkspaceLine(body, metricLetter);
    const FaceletCube& c = loaded->cube;
    if (c.f != e.cube.f || (e.cube.centersCount && c.centerOri != e.cube.centerOri)) return false;
    return !e.hasOptimalText() || loaded->hasOptimalText();
}

std::string joinLine(const std::string& body, std::string name) {
    // The reader takes at most kMaxLineLength characters. On a tight line the usual gap before
    // the name narrows to the bare "//", and only a name that cannot fit even then is shortened.
    // A body ending in a slash (an unclosed mark such as "(20/") keeps one blank before the
    // "//": the reader splits at the first "//", which would otherwise start one slash early.
    const std::string tight = !body.empty() && body.back() == '/' ? " //" : "//";
    const std::size_t used = body.size() + tight.size();
    const std::size_t room = kMaxLineLength > used ? kMaxLineLength - used : 0;
    if (name.size() > room) name = std::string(trim(name.substr(0, room)));
    if (name.empty()) return body + " ";
    // The same line must come out when the loaded entry is written again.
    return body.size() + 5 + name.size() <= kMaxLineLength ? body + "   //" + name : body + tight + name;
}

}  // namespace

// ---------------------------------------------------------------- lines

std::string faceletLineText(const FaceletCube& cube) {
    std::string s;
    s.reserve(68);
    int k = 0;
    for (std::string_view name : kPieceListNames) {
        for (std::size_t j = 0; j < name.size(); ++j, ++k) {
            const std::uint8_t v = cube.f[kPieceListFacelet[k]];
            // Every facelet writes one letter, so the letters after it keep their places.
            s += v < 6 ? faceLetter(v) : 'N';
        }
        s += ' ';
    }
    return s;
}

int applyWorkspaceManeuver(FaceletCube& cube, std::string_view part) {
    int count[6] = {}, open = 0;
    for (char ch : part) {
        const int c = colorOfLetter(ch);
        if (c >= 0) ++count[c];
        else if (ch == 'N') ++open;
    }
    // A facelet line with facelets of unknown colour: 48 letters, none of the six more than
    // eight times. No maneuver contains "N", so nothing else reads this way.
    if (open > 0) {
        int letters = open;
        bool fits = true;
        for (int n : count) {
            letters += n;
            fits &= n <= 8;
        }
        if (fits && letters == 48) {
            int n = 0;
            for (char ch : part) {
                const int c = colorOfLetter(ch);
                if (c < 0 && ch != 'N') continue;
                cube.f[kPieceListFacelet[n++]] = c >= 0 ? std::uint8_t(c) : kUndefinedFacelet;
            }
            return 0;
        }
    }
    return applyManeuver(cube, part).moves;
}

std::string workspaceLine(const Entry& e, char metricLetter, bool* asFacelets) {
    const std::string name = cleanName(e.patternName);
    std::string body;
    if (e.hasOptimalText())
        body = inverseManeuver(e.optimalText);
    else if (!e.solverText.empty())
        body = inverseManeuver(e.solverText);
    bool fallback = false;
    // A maneuver that would read back as another cube (or not at all, being too long) is
    // replaced by the facelets: the cube itself must survive the file.
    if (!body.empty() && (body.size() + 1 > kMaxLineLength || !readsBackAs(body, e, metricLetter))) {
        body.clear();
        fallback = true;
    }
    if (body.empty()) body = faceletLineText(e.cube);
    if (asFacelets) *asFacelets = fallback;
    return joinLine(body, name);
}

std::shared_ptr<Entry> parseWorkspaceLine(std::string_view line, char metricLetter) {
    auto e = std::make_shared<Entry>();
    std::string_view part = line;
    if (const auto slash = line.find("//"); slash != std::string_view::npos) {
        e->patternName = std::string(trim(line.substr(slash + 2)));
        part = line.substr(0, slash);
    }
    part = trim(part);
    const auto star = part.find("*)");
    auto setSolver = [&](std::string text) {
        const int mark = markLength(text, metricLetter, false);
        e->setSolverText(std::move(text), mark);
    };
    if (star == std::string_view::npos) {
        if (applyWorkspaceManeuver(e->cube, part) > 0) setSolver(inverseManeuver(part));
        return e;
    }
    const std::string_view head = part.substr(0, star + 2);
    const int n = applyWorkspaceManeuver(e->cube, head);
    const char letter = star > 0 ? head[star - 1] : '\0';
    if (letter == metricLetter) {
        std::string optimal = inverseManeuver(head);
        const int mark = markLength(optimal, metricLetter, true);
        e->setOptimalManeuver(std::move(optimal), mark, true);
        e->useOptimal = true;
        e->optimalLength = n;
    } else {
        // Proven in the other metric: only an ordinary maneuver here. It is the part that
        // was applied, so anything after the mark cannot give a maneuver for another cube.
        e->setOptimalStatus(kStatusNotRunning);
        if (n > 0) setSolver(inverseManeuver(head));
    }
    return e;
}

// ---------------------------------------------------------------- save

SaveResult saveWorkspace(CubeList& list, const fs::path& file) {
    constexpr std::size_t kPumpEvery = 1000;
    SaveResult result;
    // The entries as they are now are what is saved; whatever changes while the window
    // processes events marks the list unsaved again.
    const std::vector<std::shared_ptr<Entry>> entries = list.entries();
    const bool wasModified = list.modified;
    list.modified = false;
    list.cancelRequested = false;
    std::vector<std::string> lines;
    lines.reserve(entries.size());
    for (const auto& e : entries) {
        bool asFacelets = false;
        lines.push_back(workspaceLine(*e, list.metricLetter(), &asFacelets) + "\r\n");
        result.asFacelets += asFacelets ? 1 : 0;
        if (lines.size() % kPumpEvery != 0) continue;
        list.showCaption("saving cube " + std::to_string(lines.size()) + ", press ESC to cancel... ");
        list.pump();
        if (list.cancelRequested) break;
    }
    if (list.cancelRequested) {
        result.cancelled = true;
        list.modified = list.modified || wasModified;
        list.showCaption();
        return result;
    }
    const WriteResult written = writeFileAtomically(file, [&lines](FileSink& sink) {
        for (const std::string& line : lines)
            if (!sink.write(line)) return false;
        return true;
    });
    if (!written.ok) {
        // The list keeps its unsaved state and the old file stays as it was.
        list.modified = list.modified || wasModified;
        list.showCaption();
        result.error = written.error;
        list.prompts().message("The workspace could not be saved: " + written.error +
                                   ". The file on disk was not changed.",
                               "Error", Icon::Error);
        return result;
    }
    result.ok = true;
    list.workspaceFile = file.string();
    if (list.entries() != entries) list.modified = true;  // added or removed while saving
    list.showCaption();
    if (result.asFacelets == 1)
        list.prompts().message("1 cube was saved by its facelets because its maneuver would not load back as the same cube.",
                               kManeuverWindow, Icon::Information);
    else if (result.asFacelets > 1)
        list.prompts().message(std::to_string(result.asFacelets) +
                                   " cubes were saved by their facelets because their maneuvers would not load back as the same cubes.",
                               kManeuverWindow, Icon::Information);
    return result;
}

// ---------------------------------------------------------------- load

namespace {

class FileReader {
public:
    explicit FileReader(int fd) : fd_(fd) {}
    ~FileReader() { ::close(fd_); }
    // Next byte, or -1 at the end, or -2 on a read error (errno set).
    int next() {
        if (pos_ == len_) {
            ssize_t n;
            do n = ::read(fd_, buf_, sizeof buf_);
            while (n < 0 && errno == EINTR);
            if (n < 0) return -2;
            if (n == 0) return -1;
            len_ = static_cast<std::size_t>(n);
            pos_ = 0;
        }
        return static_cast<unsigned char>(buf_[pos_++]);
    }

private:
    int fd_;
    char buf_[65536];
    std::size_t pos_ = 0, len_ = 0;
};

bool hasNoGenerator(const Entry& e) {
    return e.solverText.empty() && !e.hasOptimalText();
}

// Loading into a list that holds cubes: they are kept or (after a second question when
// cubes without generators would be lost) discarded; false when the user cancels.
bool makeRoom(CubeList& list, Prompts& prompts) {
    const Answer a = prompts.ask({"Do you want to discard the Cubes in the Main Window before loading the maneuvers?",
                                  kManeuverWindow, Icon::Question, Buttons::YesNoCancel});
    if (a == Answer::Cancel) return false;
    if (a != Answer::Yes) return true;
    bool patterns = false;
    for (const auto& e : list.entries()) patterns |= hasNoGenerator(*e);
    if (patterns && !prompts.yes("All patterns without generators in the Output Window will be discarded. Continue anyway?",
                                 kManeuverWindow))
        return false;
    list.clear(false);
    return true;
}

}  // namespace

LoadResult loadWorkspace(CubeList& list, const fs::path& file) {
    LoadResult result;
    Prompts& prompts = list.prompts();
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        const int err = fd < 0 ? errno : S_ISDIR(st.st_mode) ? EISDIR : errno;
        if (fd >= 0) ::close(fd);
        result.error = "Cannot open file \"" + file.string() + "\". " + errnoText(err) + ".";
        prompts.message(result.error, "Error", Icon::Error);
        return result;
    }
    FileReader reader(fd);
    result.opened = true;
    if (!list.empty() && !makeRoom(list, prompts)) {
        result.declined = true;
        return result;
    }
    list.workspaceFile = file.string();
    list.showCaption("loading, press ESC to cancel... ");
    list.cancelRequested = false;

    const bool savedIso = list.isoCheck;
    AddRequest how;
    how.showSolver = false;
    how.centersCount = list.options.fixCenterFacelets;
    auto takeLine = [&](const std::string& line) {
        ++result.lines;
        const std::shared_ptr<Entry> e = parseWorkspaceLine(line, list.metricLetter());
        list.isoCheck = list.options.ignoreIsoOnLoad;
        if (list.addCube(*e, how)) ++result.added;
        list.isoCheck = savedIso;
        list.showCaption("loading cube " + std::to_string(result.lines) + ", press ESC to cancel... ");
        list.pump();
        return !list.cancelRequested;
    };

    std::string line;
    line.reserve(kMaxLineLength + 2);
    for (;;) {
        const int b = reader.next();
        if (b == -2) {
            const int err = errno;
            result.stoppedAtLine = result.lines + 1;
            result.error = "Loading stopped at line " + std::to_string(result.stoppedAtLine) + ": " + errnoText(err) +
                           ". The cubes read before it were kept.";
            prompts.message(result.error, "Error", Icon::Error);
            break;
        }
        if (b == -1) {
            if (!line.empty()) takeLine(line);  // the last line without a line end
            break;
        }
        if (b == '\r') continue;
        if (line.size() > kMaxLineLength) {  // 299 characters and a further byte
            result.tooLong = true;
            result.stoppedAtLine = result.lines + 1;
            prompts.message("No valid Input. Loading aborted.");
            break;
        }
        if (b == '\n') {
            if (!takeLine(line)) {
                result.cancelled = true;
                result.stoppedAtLine = result.lines + 1;
                break;
            }
            line.clear();
            continue;
        }
        line += static_cast<char>(b);
    }
    list.isoCheck = savedIso;
    list.showCaption();
    list.repaint();
    return result;
}

}  // namespace tx
