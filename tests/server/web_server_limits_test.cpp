// The web server's bounds with a scripted backend: idle connections cost no thread, one client
// address cannot crowd out others, the connection cap evicts the oldest idle connection or
// refuses the newcomer, facelet requests beyond the search places wait in line, a client that
// leaves gives up its place, the answer file is written safely, and every connection is logged.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QHostAddress>

#include <memory>
#include <regex>

#include "server/qt_events.hpp"
#include "server/web_server.hpp"
#include "server_support.hpp"
#include "support/process_status.hpp"

namespace tx::test {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

class WebServerLimits : public ::testing::Test {
protected:
    void open(const WebServer::Limits& limits = {}) {
        server = std::make_unique<WebServer>(backend, events);
        server->setPort(0);
        server->setBindAddress(QHostAddress::LocalHost);
        server->setWorkingFolder(folder.path());
        server->setPollInterval(10ms);
        server->setLimits(limits);
        server->setErrorReporter([this](const std::string& m) { reported.push_back(m); });
        server->setRequestLogger([this](const std::string& line) { logged.push_back(line); });
        ASSERT_TRUE(server->open());
        port = server->listeningPort();
    }
    void TearDown() override {
        for (int fd : held) ::close(fd);
        if (server) EXPECT_TRUE(pumpUntil([&] { return server->connectionCount() == 0; }, 20s));
        server.reset();
    }
    // Opens n connections that send `bytes` and then nothing, while the server accepts them.
    std::vector<int> hold(int n, const std::string& bytes = "", const char* from = "127.0.0.1") {
        auto fds = whilePumping([&] {
            std::vector<int> opened;
            for (int i = 0; i < n; ++i) opened.push_back(openConnection(port, bytes, from));
            return opened;
        });
        held.insert(held.end(), fds.begin(), fds.end());
        return fds;
    }
    std::string facelets(int i) {
        FaceletCube c;
        c.turn(i % 6);
        c.turn((i / 6) % 6);
        return c.faceletString();
    }

    TempFolder folder;
    FakeBackend backend;
    QtEvents events;
    std::unique_ptr<WebServer> server;
    std::vector<std::string> reported, logged;
    std::vector<int> held;
    int port = 0;
};

TEST_F(WebServerLimits, IdleAndSlowConnectionsTieUpNoThread) {
    open();
    const long threads = testing::threadCount();
    hold(150, "", "127.0.0.2");
    hold(150, "GET /", "127.0.0.3");  // a request that never ends
    ASSERT_TRUE(pumpUntil([&] { return server->connectionCount() == 300; }));
    EXPECT_LE(testing::threadCount(), threads + 1);
    const Reply r = get(port, "/?getLast");
    EXPECT_EQ(r.bytes, http::htmlAnswer("Buffer is empty!"));
}

TEST_F(WebServerLimits, OneAddressCannotHoldMoreThanItsShare) {
    open({1024, 3, 32});
    const auto first = hold(3, "", "127.0.0.2");
    ASSERT_TRUE(pumpUntil([&] { return server->connectionCount() == 3; }));
    // A fourth from the same address while the others are fresh: closed at once.
    const auto fourth = hold(1, "GET /", "127.0.0.2");
    EXPECT_TRUE(whilePumping([&] { return closedByServer(fourth[0], 5s); }));
    // Other addresses are not affected.
    EXPECT_EQ(get(port, "/?getLast").bytes, http::htmlAnswer("Buffer is empty!"));
    // Once the idle ones are old, a newcomer of that address takes the place of the oldest.
    pumpUntil([] { return false; }, WebServer::kEvictAfter + 100ms);
    const auto fifth = hold(1, "GET /?getLast HTTP/1.0\r\n\r\n", "127.0.0.2");
    EXPECT_TRUE(whilePumping([&] { return closedByServer(first[0], 5s); }));
    EXPECT_FALSE(whilePumping([&] { return closedByServer(first[1], 100ms); }));
    EXPECT_EQ(std::count_if(logged.begin(), logged.end(),
                            [](const std::string& l) { return l.find("refused, too many connections from this address") != std::string::npos; }),
              1);
}

TEST_F(WebServerLimits, AnAddressReconnectingTooFastIsRefusedAtTheDoor) {
    open({1024, 4, 32, 4});
    ClientOptions flooder;
    flooder.from = "127.0.0.5";
    const auto fromFlooder = [&] { return whilePumping([&] { return talk(port, "GET /?getLast HTTP/1.0\r\n\r\n", flooder); }); };
    for (int i = 0; i < 4; ++i) EXPECT_EQ(fromFlooder().bytes, http::htmlAnswer("Buffer is empty!")) << i;
    // The bucket is empty: the next ones are closed unanswered, even though none is open.
    EXPECT_EQ(fromFlooder().bytes, "");
    EXPECT_EQ(fromFlooder().bytes, "");
    // Another address is not affected; the flooder's bucket refills at four a second.
    EXPECT_EQ(get(port, "/?getLast").bytes, http::htmlAnswer("Buffer is empty!"));
    pumpUntil([] { return false; }, 400ms);
    EXPECT_EQ(fromFlooder().bytes, http::htmlAnswer("Buffer is empty!"));
    // Refusals are logged at most once a second per address.
    EXPECT_EQ(std::count_if(logged.begin(), logged.end(),
                            [](const std::string& l) { return l.find("too many new connections") != std::string::npos; }),
              1);
}

TEST_F(WebServerLimits, TheConnectionCapEvictsTheOldestIdleOrRefuses) {
    open({3, 256, 32});
    EXPECT_EQ(server->connectionLimit(), 3);
    const auto idle = hold(3);
    ASSERT_TRUE(pumpUntil([&] { return server->connectionCount() == 3; }));
    const auto refused = hold(1);
    EXPECT_TRUE(whilePumping([&] { return closedByServer(refused[0], 5s); }));
    pumpUntil([] { return false; }, WebServer::kEvictAfter + 100ms);
    // A good client now gets the place of the oldest idle connection, and its answer.
    EXPECT_EQ(get(port, "/?getLast").bytes, http::htmlAnswer("Buffer is empty!"));
    EXPECT_TRUE(whilePumping([&] { return closedByServer(idle[0], 5s); }));
}

TEST_F(WebServerLimits, TheDescriptorLimitBoundsTheConnections) {
    open();
    rlimit limit{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &limit), 0);
    if (limit.rlim_cur != RLIM_INFINITY) {
        const long budget = (long(limit.rlim_cur) - testing::openDescriptors() - WebServer::kReservedDescriptors) / 2;
        EXPECT_LE(server->connectionLimit(), std::max(1L, budget) + 1);
    }
    EXPECT_LE(server->connectionLimit(), 1024);
}

TEST_F(WebServerLimits, FaceletRequestsBeyondTheSearchPlacesWaitInLine) {
    open({1024, 256, 2});
    backend.pollsToSolve = -1;
    std::vector<std::future<Reply>> replies;
    for (int i = 0; i < 4; ++i)
        replies.push_back(std::async(std::launch::async, [&, i] { return talk(port, "GET /?" + facelets(i) + " HTTP/1.0\r\n\r\n"); }));
    ASSERT_TRUE(pumpUntil([&] { return server->searchingCount() == 2 && server->queuedCount() == 2; }));
    EXPECT_EQ(backend.submitted.size(), 2u);
    // One search ends: the first in line takes its place.
    backend.pending.begin()->second.pollsLeft = 0;
    ASSERT_TRUE(pumpUntil([&] { return backend.submitted.size() == 3 && server->queuedCount() == 1; }));
    for (auto& [h, p] : backend.pending) p.pollsLeft = 0;
    ASSERT_TRUE(pumpUntil([&] { return backend.submitted.size() == 4; }));
    for (auto& [h, p] : backend.pending) p.pollsLeft = 0;
    ASSERT_TRUE(pumpUntil([&] {
        for (auto& r : replies)
            if (r.wait_for(0s) != std::future_status::ready) return false;
        return true;
    }));
    for (auto& r : replies) EXPECT_EQ(r.get().bytes.rfind("HTTP/1.0 200 OK", 0), 0u);
    EXPECT_EQ(backend.released.size(), 4u);
}

TEST_F(WebServerLimits, AFreeSearchPlaceGoesFirstToAnAddressWithFewSearches) {
    open({1024, 256, 4});  // one place each is an address's share
    backend.pollsToSolve = -1;
    std::vector<std::future<Reply>> replies;
    auto ask = [&](int cube, const char* from) {
        replies.push_back(std::async(std::launch::async, [&, cube, from] {
            ClientOptions o;
            o.from = from;
            return talk(port, "GET /?" + facelets(cube) + " HTTP/1.0\r\n\r\n", o);
        }));
    };
    for (int i = 0; i < 6; ++i) ask(i, "127.0.0.6");
    ASSERT_TRUE(pumpUntil([&] { return server->searchingCount() == 4 && server->queuedCount() == 2; }));
    ask(6, "127.0.0.7");
    ASSERT_TRUE(pumpUntil([&] { return server->queuedCount() == 3; }));
    // The newcomer from the other address is served before the two that came earlier.
    backend.pending.begin()->second.pollsLeft = 0;
    ASSERT_TRUE(pumpUntil([&] { return backend.submitted.size() == 5; }));
    EXPECT_EQ(backend.submitted.back(), "?" + facelets(6));
    for (int round = 0; round < 3; ++round) {
        for (auto& [h, p] : backend.pending) p.pollsLeft = 0;
        pumpUntil([&] { return backend.submitted.size() == 7; }, 2s);
    }
    for (auto& [h, p] : backend.pending) p.pollsLeft = 0;
    ASSERT_TRUE(pumpUntil([&] {
        for (auto& r : replies)
            if (r.wait_for(0s) != std::future_status::ready) return false;
        return true;
    }));
    EXPECT_EQ(backend.submitted.size(), 7u);
}

TEST_F(WebServerLimits, AClientLeavingTheLineIsNeverSubmitted) {
    open({1024, 256, 1});
    backend.pollsToSolve = -1;
    auto first = std::async(std::launch::async, [&] { return talk(port, "GET /?" + facelets(1) + " HTTP/1.0\r\n\r\n"); });
    ASSERT_TRUE(pumpUntil([&] { return server->searchingCount() == 1; }));
    const auto leaving = hold(1, "GET /?" + facelets(2) + " HTTP/1.0\r\n\r\n");
    ASSERT_TRUE(pumpUntil([&] { return server->queuedCount() == 1; }));
    ::close(leaving[0]);
    held.clear();
    ASSERT_TRUE(pumpUntil([&] { return server->queuedCount() == 0; }));
    backend.pending.begin()->second.pollsLeft = 0;
    ASSERT_TRUE(pumpUntil([&] { return first.wait_for(0s) == std::future_status::ready; }));
    pumpUntil([] { return false; }, 100ms);
    EXPECT_EQ(backend.submitted.size(), 1u);
    EXPECT_TRUE(backend.abandoned.empty());
}

TEST_F(WebServerLimits, EveryConnectionWritesOneLogLine) {
    open();
    server->setReadTimeout(300ms);
    writeFile(folder.path() / "faces.gif", "GIF89a");
    get(port, "/?" + facelets(7));
    get(port, "/?getLast");
    get(port, "/?" + facelets(7).substr(0, 53));
    get(port, "/faces.gif");
    get(port, "/");
    whilePumping([&] { return talk(port, ""); });
    ASSERT_TRUE(pumpUntil([&] { return logged.size() == 6; }));
    const std::string cube = facelets(7);
    std::vector<std::string> expected = {
        "facelets " + cube + " 1 move",  // the fake answers the cube's letters, one "move"
        "getLast - \"Buffer is empty!\"",
        "facelets " + cube.substr(0, 53) + " error: \"Cube cannot be solved. Missing or wrong facelet colors!\"",
        "file faces.gif 6 bytes",
        "empty - refused: invalid request",
        "- - no answer: no request within 0.3 s",
    };
    const std::regex shape(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d 127\.0\.0\.1 (.*) \d+ ms$)");
    std::vector<std::string> middles;
    for (const std::string& line : logged) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(line, m, shape)) << line;
        middles.push_back(m[1].str());
    }
    std::sort(middles.begin(), middles.end());
    auto sorted = expected;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(middles, sorted);
}

TEST_F(WebServerLimits, TheAnswerFileIsNeverALinkAFifoOrAnotherName) {
    open();
    server->setWriteToFile(true);
    TempFolder outside;
    const fs::path answers = folder.path() / "webserv_ans.txt";
    writeFile(outside.path() / "target.txt", "keep");
    fs::create_symlink(outside.path() / "target.txt", answers);
    EXPECT_EQ(get(port, "/?" + facelets(1)).bytes, http::htmlAnswer(facelets(1)));
    EXPECT_EQ(readFile(outside.path() / "target.txt"), "keep");
    fs::remove(answers);
    fs::create_hard_link(outside.path() / "target.txt", answers);
    get(port, "/?" + facelets(2));
    EXPECT_EQ(readFile(outside.path() / "target.txt"), "keep");
    fs::remove(answers);
    // A FIFO without a reader: the answer still comes, nothing waits on it.
    ASSERT_EQ(::mkfifo(answers.c_str(), 0644), 0);
    const Reply r = get(port, "/?" + facelets(3));
    EXPECT_EQ(r.bytes, http::htmlAnswer(facelets(3)));
    EXPECT_TRUE(fs::is_fifo(answers));
    ASSERT_TRUE(pumpUntil([&] { return reported.size() == 3; }));
    EXPECT_NE(reported[0].find("symbolic link"), std::string::npos) << reported[0];
    EXPECT_NE(reported[1].find("other names"), std::string::npos) << reported[1];
    EXPECT_NE(reported[2].find("not a regular file"), std::string::npos) << reported[2];
    // A plain file is written again.
    fs::remove(answers);
    get(port, "/?" + facelets(4));
    EXPECT_EQ(readFile(answers), facelets(4));
}

}  // namespace
}  // namespace tx::test
