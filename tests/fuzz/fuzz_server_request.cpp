// The web server's handling of one client, from the bytes it sends to the answer it gets: a
// real connection on one end of a socket pair, the event loop run until the connection ends,
// and the real backend over a cube list, a facelet editor and no camera behind it.
// The first input byte says how the client behaves; the rest is what it sends at once:
//   bit 0  after sending, the client closes its side (else it waits for the read time-out);
//   bit 1  the client leaves without reading the answer (its entry must go with it).
// Properties: every connection ends with one log line; an answer is one HTML page or the
// header and bytes of a file inside the served folder (never one outside it); a refused cube
// gets the fixed refusal, a maneuver answered for a cube solves that cube (when the tables
// are there: TESSERIX_TEST_DATA), and no entry or search place is left behind for a client.
#include <QCoreApplication>
#include <QTimer>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <memory>

#include "cube/cube_input.hpp"
#include "cube/notation.hpp"
#include "fuzz_check.hpp"
#include "platform/progress.hpp"
#include "platform/prompts.hpp"
#include "server/connection.hpp"
#include "server/list_backend.hpp"
#include "server/qt_events.hpp"
#include "server/webcam_port.hpp"
#include "solver/fast_solver.hpp"
#include "tables/loader.hpp"
#include "workspace/cube_list.hpp"
#include "workspace/facelet_editor.hpp"

using namespace tx;
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kServedBytes = "served file";
// Anything a file answer could leak from outside the folder carries this mark.
constexpr std::string_view kOutsideMark = "OUTSIDE-THE-FOLDER";

fs::path makeServedFolder() {
    const fs::path dir = fuzz::scratchFolder() / "served";
    std::error_code ec;
    fs::create_directories(dir / "sub", ec);
    std::ofstream(dir / "faces.gif") << kServedBytes;
    std::ofstream(dir / "sub" / "faces1.gif") << kServedBytes;
    std::ofstream(fuzz::scratchFolder() / "faces3.gif") << kOutsideMark;
    std::ofstream(fuzz::scratchFolder() / "outside.txt") << kOutsideMark;
    fs::create_symlink(fuzz::scratchFolder(), dir / "faces", ec);
    fs::create_symlink(fuzz::scratchFolder() / "faces3.gif", dir / "faces2.gif", ec);
    return fs::canonical(dir);
}

TableSet loadTables() {
    const char* folder = std::getenv("TESSERIX_TEST_DATA");
    if (!folder || !*folder) return {};
    NullProgress progress;
    AutoPrompts prompts(Answer::No);  // never build tables here
    TableLoader loader(folder, progress, prompts);
    return loader.startUp(false, false) == StartResult::Ready ? loader.current() : TableSet{};
}

class Host : public detail::ConnectionHost {
public:
    Host(ServerBackend& backend, Events& events) : core_(backend, events) {}
    detail::ServerCore& core() override { return core_; }
    bool takeSearchPlace(detail::Connection&) override { return ++places <= 1; }
    void leaveSearchPlace(detail::Connection&) override { --places; }
    void ended(detail::Connection&) override { ++endings; }
    int places = 0;
    int endings = 0;

private:
    detail::ServerCore core_;
};

struct Server {
    int argc = 1;
    char name[16] = "fuzz";
    char* argv[2] = {name, nullptr};
    QCoreApplication app{argc, argv};
    QtEvents events;
    AutoPrompts prompts{Answer::Yes};
    CubeList list{events, prompts};
    FaceletEditor editor;
    NoCameraWebcam webcam;
    ListBackend backend{list, editor, webcam};
    FixedTables tables{loadTables()};
    fs::path folder = makeServedFolder();
    Host host{backend, events};
    // The last log line and how many there were (kept flat, so that an input allocates no
    // more than it frees and the leak check stays quiet).
    std::string lastLog;
    std::size_t logLines = 0;
    // The client's end is no Qt socket: this timer wakes the loop every millisecond to read
    // it, so the loop can wait for events instead of spinning while the server's timers run.
    QTimer wake;

    Server() {
        list.context().tables = &tables;
        backend.keepAtMost = 8;
        // The fast engine solves each cube at once, so the answer comes with the next poll.
        backend.solveNow = [this](const std::shared_ptr<Entry>& e) {
            const TableSet t = tables.current();
            if (!t.ready()) return;
            FastOptions options;
            options.maxLength = 24;
            options.deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
            const FastResult r = solveFast(t, e->cube.toCubieCube(), options);
            if (r.length >= 0) e->setSolverText(writeManeuver(r.moves.data(), r.length, 'f', false), r.length);
        };
        detail::ServerCore& core = host.core();
        core.folder = folder;
        core.readTimeout = std::chrono::milliseconds(1);
        core.pollInterval = std::chrono::milliseconds(1);
        core.logger = [this](const std::string& line) {
            lastLog = line;
            ++logLines;
        };
        wake.setTimerType(Qt::PreciseTimer);
        wake.start(1);
    }
};

Server& server() {
    static Server s;
    return s;
}

// Reads what the server sent so far; true at the end of the stream.
bool drain(int fd, std::string& reply) {
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
        if (n > 0) {
            reply.append(buffer, std::size_t(n));
            continue;
        }
        return n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR);
    }
}

bool endsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// The body of an HTML answer, or nullopt when the reply is none.
std::optional<std::string> htmlBody(const std::string& reply) {
    const std::string empty = http::htmlAnswer("");
    const std::string_view head = std::string_view(empty).substr(0, empty.find("<BODY>\r\n") + 8);
    const std::string_view tail = std::string_view(empty).substr(head.size());
    if (!fuzz::startsWith(reply, head) || !endsWith(reply, tail) || reply.size() < empty.size()) return std::nullopt;
    return reply.substr(head.size(), reply.size() - head.size() - tail.size());
}

void checkFaceletAnswer(const std::string& path, const std::string& body) {
    CubeTextOptions options;
    options.webRequest = true;
    const CubeText sent = readCube(http::faceletLetters(path), options);
    if (!sent.ok()) {
        FUZZ_REQUIRE(body == http::kCannotSolveText);
        return;
    }
    if (body.empty() || body == http::kEntryRemovedText) return;  // no tables, or cleared meanwhile
    FaceletCube cube = sent.cube;
    applyManeuver(cube, body);
    FUZZ_REQUIRE(cube.f == FaceletCube().f);
}

void checkAnswer(Server& s, const std::string& sent, const std::string& reply) {
    FUZZ_REQUIRE(reply.find(kOutsideMark) == std::string::npos);
    if (reply.empty()) return;
    const std::string path = http::extractPath(http::requestText(std::string_view(sent).substr(0, http::kMaxRequestBytes)));
    const http::RequestKind kind = http::classify(path);
    if (fuzz::startsWith(reply, http::fileAnswerHeader())) {
        FUZZ_REQUIRE(kind == http::RequestKind::File);
        FUZZ_REQUIRE(reply.substr(http::fileAnswerHeader().size()) == kServedBytes);
        return;
    }
    const auto body = htmlBody(reply);
    FUZZ_REQUIRE(body.has_value());
    switch (kind) {
    case http::RequestKind::Empty:
    case http::RequestKind::File:
        FUZZ_REQUIRE(*body == "invalid request");
        break;
    case http::RequestKind::Facelets:
        checkFaceletAnswer(path, *body);
        break;
    case http::RequestKind::Clear:
        FUZZ_REQUIRE(*body == http::kDoneText && s.list.empty());
        break;
    case http::RequestKind::Status:
        FUZZ_REQUIRE(*body == std::string(kFacelets, 'x'));
        break;
    case http::RequestKind::Transfer:
        FUZZ_REQUIRE(*body == kWebcamUnresolvedText);
        break;
    default:
        break;
    }
}

}  // namespace

// Loading the tables (and the move tables computed beside them) takes many seconds under the
// sanitizers: it happens here, before the first input, so no input is charged for it.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    server();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    if (size == 0) return 0;
    const unsigned behaviour = data[0];
    // At most what one read takes, so the connection sees the whole input at once.
    const std::string sent(fuzz::asText(data + 1, std::min<std::size_t>(size - 1, 16384)));
    Server& s = server();

    int sv[2];
    FUZZ_REQUIRE(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sv) == 0);
    const int client = sv[1];
    const std::size_t logged = s.logLines;
    const int endings = s.host.endings;
    auto connection = std::make_unique<detail::Connection>(s.host, sv[0], "127.0.0.1");
    connection->start();
    if (!sent.empty()) FUZZ_REQUIRE(::send(client, sent.data(), sent.size(), MSG_NOSIGNAL) == ssize_t(sent.size()));
    if (behaviour & 1) ::shutdown(client, SHUT_WR);
    if (behaviour & 2) ::close(client);

    std::string reply;
    bool clientOpen = !(behaviour & 2);
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (s.host.endings == endings && std::chrono::steady_clock::now() < limit) {
        s.app.processEvents(QEventLoop::WaitForMoreEvents);
        if (clientOpen && drain(client, reply)) {
            ::close(client);  // the whole answer is in: the client hangs up
            clientOpen = false;
        }
    }
    FUZZ_REQUIRE(s.host.endings == endings + 1);
    FUZZ_REQUIRE(connection->state() == detail::Connection::State::Closed);
    connection.reset();
    if (clientOpen) {
        drain(client, reply);
        ::close(client);
    }

    FUZZ_REQUIRE(s.logLines == logged + 1);
    for (char ch : s.lastLog) FUZZ_REQUIRE(static_cast<unsigned char>(ch) >= ' ');
    FUZZ_REQUIRE(s.host.places == 0);
    FUZZ_REQUIRE(s.backend.waiting() == 0);
    FUZZ_REQUIRE(s.list.size() <= s.backend.keepAtMost);
    for (const auto& e : s.list.entries()) FUZZ_REQUIRE(!e->searchRunning);
    checkAnswer(s, sent, reply);
    return 0;
}
