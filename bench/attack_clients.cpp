#include "attack_clients.hpp"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>

#include "cube/facelet_cube.hpp"
#include "cube/notation.hpp"
#include "cube/random.hpp"

namespace tx::attack {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

const std::string kHead = "HTTP/1.0 200 OK\r\n\r\n<HTML><BODY>\r\n";
const std::string kTail = "\r\n</BODY></HTML>\r\n";

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// What an answer was, for the outcome counts.
std::string classify(bool answered, const std::string& reply) {
    if (!answered && reply.empty()) return "no answer (closed or timed out)";
    if (reply.empty()) return "closed without answer";
    if (reply == kHead + "invalid request" + kTail) return "refused (invalid request)";
    if (reply.rfind(kHead, 0) == 0) {
        const std::string body = reply.substr(kHead.size(), std::min<std::size_t>(40, reply.size() - kHead.size()));
        return "answered \"" + body.substr(0, body.find('\r')) + "\"";
    }
    return "other answer";
}

void sleepWhile(const std::atomic<bool>& stopping, std::chrono::milliseconds d) {
    const auto end = Clock::now() + d;
    while (!stopping && Clock::now() < end) std::this_thread::sleep_for(std::min<Clock::duration>(10ms, end - Clock::now()));
}

}  // namespace

void Tally::addLatency(double ms) {
    std::lock_guard lock(mutex_);
    latencies_.push_back(ms);
}

double Tally::percentile(double p) {
    std::lock_guard lock(mutex_);
    if (latencies_.empty()) return 0;
    std::sort(latencies_.begin(), latencies_.end());
    return latencies_[std::min(latencies_.size() - 1, std::size_t(p * double(latencies_.size())))];
}

void Outcomes::add(const std::string& outcome) {
    std::lock_guard lock(mutex_);
    ++counts_[outcome];
}

std::string Outcomes::text() {
    std::lock_guard lock(mutex_);
    std::string s;
    for (const auto& [outcome, n] : counts_) s += (s.empty() ? "" : "; ") + std::to_string(n) + " " + outcome;
    return s.empty() ? "none" : s;
}

int connectFrom(int port, const char* from) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    sockaddr_in local{};
    local.sin_family = AF_INET;
    ::inet_pton(AF_INET, from, &local.sin_addr);
    sockaddr_in server{};
    server.sin_family = AF_INET;
    server.sin_port = htons(std::uint16_t(port));
    server.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
        ::connect(fd, reinterpret_cast<sockaddr*>(&server), sizeof server) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool exchange(int fd, const std::string& request, std::string& reply, std::chrono::milliseconds timeout,
              std::chrono::milliseconds pause) {
    const std::size_t step = pause.count() > 0 ? 1 : request.size();
    for (std::size_t at = 0; at < request.size();) {
        const ssize_t n = ::send(fd, request.data() + at, std::min(step, request.size() - at), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;  // the server may have answered and closed already
        at += std::size_t(n);
        if (pause.count() > 0) std::this_thread::sleep_for(pause);
    }
    const auto deadline = Clock::now() + timeout;
    char buffer[65536];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        pollfd p{fd, POLLIN, 0};
        if (left <= 0 || ::poll(&p, 1, int(left)) <= 0) return false;
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n > 0) {
            reply.append(buffer, std::size_t(n));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        return n == 0;
    }
}

void goodRequest(int port, const char* from, std::mt19937& rng, Tally& tally, std::chrono::milliseconds pause) {
    MersenneTwister twister(rng());
    FaceletCube cube;
    randomCube(cube, twister);
    const auto start = Clock::now();
    const int fd = connectFrom(port, from);
    if (fd < 0) {
        ++tally.failed;
        std::this_thread::sleep_for(10ms);
        return;
    }
    std::string reply;
    const bool answered = exchange(fd, "GET /?" + cube.faceletString() + " HTTP/1.0\r\n\r\n", reply, 60s, pause);
    ::close(fd);
    if (!answered || reply.size() < kHead.size() + kTail.size()) {
        ++tally.failed;
        return;
    }
    const bool framed = reply.rfind(kHead, 0) == 0 && reply.compare(reply.size() - kTail.size(), kTail.size(), kTail) == 0;
    const std::string maneuver = reply.substr(kHead.size(), reply.size() - kHead.size() - kTail.size());
    if (framed) applyManeuver(cube, maneuver);
    if (framed && cube.f == FaceletCube().f) {
        ++tally.good;
        tally.addLatency(millisecondsSince(start));
    } else {
        ++tally.wrong;
    }
}

Folders makeFolders(const fs::path& root, const fs::path& work) {
    Folders f;
    f.work = work;
    f.outside = root / "secret";
    fs::create_directories(work);
    fs::create_directories(f.outside);
    f.secret = "SECRET-OUTSIDE-THE-FOLDER";
    std::ofstream(f.outside / "faces.gif", std::ios::binary) << f.secret;
    // A large file, so that a client can vanish in the middle of its answer.
    f.facesContent = "GIF89a";
    std::mt19937 rng(5);
    while (f.facesContent.size() < (4u << 20)) f.facesContent += char('a' + rng() % 26);
    std::ofstream(work / "faces.gif", std::ios::binary) << f.facesContent;
    fs::create_directory_symlink(f.outside, work / "link");
    fs::create_symlink(f.outside / "faces.gif", work / "outfaces.gif");
    return f;
}

Attacks::Attacks(int port, Folders folders, int idle, int burst, std::string which)
    : port_(port), folders_(std::move(folders)), idle_(idle), burst_(burst), which_("," + which + ",") {}

bool Attacks::chosen(const std::string& name) const { return which_.find("," + name + ",") != std::string::npos; }

Attacks::~Attacks() { stop(); }

void Attacks::start() {
    if (chosen("idle")) threads_.emplace_back([this] { idleClients(); });
    if (chosen("big")) threads_.emplace_back([this] { bigRequests(); });
    if (chosen("garbage")) threads_.emplace_back([this] { garbage(); });
    if (chosen("split"))
        for (int i = 0; i < 4; ++i) threads_.emplace_back([this, i] { splitRequests(i); });
    if (chosen("traverse")) threads_.emplace_back([this] { traversals(); });
    if (chosen("burst")) threads_.emplace_back([this] { bursts(); });
    if (chosen("vanish")) threads_.emplace_back([this] { vanishing(); });
}

void Attacks::stop() {
    stopping_ = true;
    for (auto& t : threads_) t.join();
    threads_.clear();
}

// Holds idle_ connections from four addresses, each sending only "GET /"; one the server
// closes is counted and opened again.
void Attacks::idleClients() {
    const char* from[] = {"127.0.1.1", "127.0.1.2", "127.0.1.3", "127.0.1.4"};
    std::vector<pollfd> held;
    while (running()) {
        for (int tries = 0; int(held.size()) < idle_ && tries < 50 && running(); ++tries) {
            const int fd = connectFrom(port_, from[held.size() % 4]);
            if (fd < 0) {
                ++idleConnectFailed_;
                continue;
            }
            ::send(fd, "GET /", 5, MSG_NOSIGNAL);
            held.push_back({fd, POLLIN, 0});
            ++idleOpened_;
        }
        idleHeld_ = long(held.size());
        ::poll(held.data(), held.size(), 20);
        std::erase_if(held, [this](pollfd& p) {
            if (p.revents == 0) return false;
            char buffer[4096];
            if (::recv(p.fd, buffer, sizeof buffer, MSG_DONTWAIT) > 0) return false;
            ::close(p.fd);
            ++idleDropped_;
            return true;
        });
    }
    for (const pollfd& p : held) ::close(p.fd);
}

void Attacks::bigRequests() {
    const std::string request = "GET /?" + std::string(1u << 20, 'x') + " HTTP/1.0\r\n\r\n";
    while (running()) {
        const int fd = connectFrom(port_, "127.0.2.1");
        if (fd < 0) continue;
        std::string reply;
        const bool answered = exchange(fd, request, reply, 15s);
        ::close(fd);
        big_.add(classify(answered, reply));
    }
}

void Attacks::garbage() {
    std::mt19937 rng(11);
    while (running()) {
        std::string junk(1 + rng() % 16384, '\0');
        for (char& c : junk) c = char(rng());
        const int fd = connectFrom(port_, "127.0.2.2");
        if (fd < 0) continue;
        std::string reply;
        const bool answered = exchange(fd, junk, reply, 15s);
        ::close(fd);
        garbage_.add(classify(answered, reply));
    }
}

// A good facelet request, one byte every 25 ms (about 2 s in all).
void Attacks::splitRequests(int index) {
    std::mt19937 rng(300 + unsigned(index));
    while (running()) goodRequest(port_, "127.0.2.3", rng, split_, 25ms);
}

void Attacks::traversals() {
    const std::string root = folders_.outside.parent_path().string();
    const std::vector<std::string> spellings = {
        "GET /../secret/faces.gif HTTP/1.0\r\n\r\n",
        "GET /..%2fsecret%2ffaces.gif HTTP/1.0\r\n\r\n",
        "GET /%2e%2e/secret/faces.gif HTTP/1.0\r\n\r\n",
        "GET /%2e%2e%2fsecret%2ffaces.gif HTTP/1.0\r\n\r\n",
        "GET /%252e%252e/secret/faces.gif HTTP/1.0\r\n\r\n",
        "GET /.%2e/secret/faces.gif HTTP/1.0\r\n\r\n",
        "GET /..\\secret\\faces.gif HTTP/1.0\r\n\r\n",
        "GET /faces.gif/../../secret/faces.gif HTTP/1.0\r\n\r\n",
        "GET /./../secret/faces.gif HTTP/1.0\r\n\r\n",
        "GET /" + root + "/secret/faces.gif HTTP/1.0\r\n\r\n",
        "GET " + root + "/secret/faces.gif HTTP/1.0\r\n\r\n",
        "GET /link/faces.gif HTTP/1.0\r\n\r\n",
        "GET /outfaces.gif HTTP/1.0\r\n\r\n",
        std::string("GET /faces.gif\0/../secret/faces.gif HTTP/1.0\r\n\r\n", 49),
        std::string("GET /../secret/faces.gif\0 HTTP/1.0\r\n\r\n", 38),
        "GET /../secret/faces.gif%00 HTTP/1.0\r\n\r\n",
    };
    while (running()) {
        for (const std::string& request : spellings) {
            const int fd = connectFrom(port_, "127.0.2.4");
            if (fd < 0) continue;
            std::string reply;
            const bool answered = exchange(fd, request, reply, 15s);
            ::close(fd);
            if (reply.find(folders_.secret) != std::string::npos) ++traversalLeaks_;
            traversalOutcomes_.add(classify(answered, reply));
        }
        const int fd = connectFrom(port_, "127.0.2.4");
        if (fd < 0) continue;
        std::string reply;
        exchange(fd, "GET /faces.gif HTTP/1.0\r\n\r\n", reply, 30s);
        ::close(fd);
        // Complete, cut short (the client's patience or the server's send time-out), or wrong.
        const std::string expected = "HTTP/1.0 200 OK\r\nLast-Modified: Mon, 15 Jan 2004 11:11:11 GMT\r\n\r\n" + folders_.facesContent;
        if (reply == expected) ++facesRight_;
        else if (expected.compare(0, reply.size(), reply) == 0) ++facesShort_;
        else ++facesWrong_;
        sleepWhile(stopping_, 200ms);
    }
}

// Waves of burst_ good facelet requests at the same moment.
void Attacks::bursts() {
    unsigned seed = 5000;
    while (running()) {
        const auto start = Clock::now();
        std::vector<std::thread> wave;
        for (int i = 0; i < burst_; ++i)
            wave.emplace_back([this, s = seed++] {
                std::mt19937 rng(s);
                goodRequest(port_, "127.0.3.1", rng, burstTally_);
            });
        for (auto& t : wave) t.join();
        ++waves_;
        slowestWaveMs_ = std::max(slowestWaveMs_.load(), (long long)millisecondsSince(start));
        sleepWhile(stopping_, 1s);
    }
}

// Clients that close right after a facelet request, and clients that reset the connection in
// the middle of the large file's answer.
void Attacks::vanishing() {
    std::mt19937 rng(77);
    while (running()) {
        MersenneTwister twister(rng());
        FaceletCube cube;
        randomCube(cube, twister);
        int fd = connectFrom(port_, "127.0.2.5");
        if (fd < 0) continue;
        const std::string request = "GET /?" + cube.faceletString() + " HTTP/1.0\r\n\r\n";
        ::send(fd, request.data(), request.size(), MSG_NOSIGNAL);
        ::close(fd);
        vanish_.add("closed after a facelet request");

        fd = connectFrom(port_, "127.0.2.5");
        if (fd < 0) continue;
        ::send(fd, "GET /faces.gif HTTP/1.0\r\n\r\n", 27, MSG_NOSIGNAL);
        char buffer[1000];
        pollfd p{fd, POLLIN, 0};
        const bool gotSome = ::poll(&p, 1, 5000) > 0 && ::recv(fd, buffer, sizeof buffer, 0) > 0;
        linger reset{1, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
        ::close(fd);
        vanish_.add(gotSome ? "reset in the middle of the file answer" : "file answer did not start");
        sleepWhile(stopping_, 50ms);
    }
}

bool Attacks::report() {
    std::printf("attack idle:     %zu connections opened, %zu closed by the server, %zu connects failed, %ld held at the end\n",
                idleOpened_.load(), idleDropped_.load(), idleConnectFailed_.load(), idleHeld_.load());
    std::printf("attack big:      1 MB requests: %s\n", big_.text().c_str());
    std::printf("attack garbage:  binary junk: %s\n", garbage_.text().c_str());
    std::printf("attack split:    byte-by-byte requests: %zu correct, %zu wrong, %zu without answer\n", split_.good.load(),
                split_.wrong.load(), split_.failed.load());
    std::printf("attack traverse: %s; %zu leaked the outside file; the real file %zu right, %zu cut short, %zu wrong\n",
                traversalOutcomes_.text().c_str(), traversalLeaks_.load(), facesRight_.load(), facesShort_.load(),
                facesWrong_.load());
    std::printf("attack burst:    %zu waves of %d: %zu correct, %zu wrong, %zu without answer, slowest wave %lld ms\n",
                waves_.load(), burst_, burstTally_.good.load(), burstTally_.wrong.load(), burstTally_.failed.load(),
                slowestWaveMs_.load());
    std::printf("attack vanish:   %s\n", vanish_.text().c_str());
    return split_.wrong == 0 && burstTally_.wrong == 0 && traversalLeaks_ == 0 && facesWrong_ == 0 &&
           (!chosen("traverse") || facesRight_ > 0) && (!chosen("split") || split_.good > 0) &&
           (!chosen("burst") || burstTally_.good > 0);
}

}  // namespace tx::attack
