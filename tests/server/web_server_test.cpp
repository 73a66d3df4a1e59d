// The web server over real TCP connections on 127.0.0.1 with a scripted backend: every row
// of the request table with its exact answer bytes, the facelet wait, the answer file, the
// file row's folder restriction, and clients that misbehave.
#include <gtest/gtest.h>

#include <QHostAddress>
#include <QTcpServer>

#include <atomic>
#include <memory>
#include <random>

#include "server/qt_events.hpp"
#include "server/web_server.hpp"
#include "server_support.hpp"

namespace tx::test {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

std::string html(const std::string& body) { return http::htmlAnswer(body); }

class WebServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        server = std::make_unique<WebServer>(backend, events);
        server->setPort(0);
        server->setBindAddress(QHostAddress::LocalHost);
        server->setWorkingFolder(folder.path());
        server->setReadTimeout(400ms);
        server->setPollInterval(10ms);
        server->setErrorReporter([this](const std::string& m) { reported.push_back(m); });
        ASSERT_TRUE(server->open()) << server->errorString().toStdString();
        port = server->listeningPort();
        ASSERT_NE(port, 0);
    }
    void TearDown() override {
        // Every connection ends by itself and nothing ever ran off the main thread.
        EXPECT_TRUE(pumpUntil([&] { return server->connectionCount() == 0; }, 10s));
        server.reset();
        EXPECT_FALSE(backend.calledOffMain);
    }
    // Every submitted handle is released (or abandoned) once, when the connection is done with it.
    void expectAllReleased() {
        auto done = [&] { return backend.released.size() + backend.abandoned.size() == backend.pending.size(); };
        ASSERT_TRUE(pumpUntil(done, 10s));
        std::vector<std::uint64_t> handles;
        for (const auto& [h, p] : backend.pending) handles.push_back(h);
        auto released = backend.released;
        released.insert(released.end(), backend.abandoned.begin(), backend.abandoned.end());
        std::sort(released.begin(), released.end());
        EXPECT_EQ(released, handles);
    }

    TempFolder folder;
    FakeBackend backend;
    QtEvents events;
    std::unique_ptr<WebServer> server;
    std::vector<std::string> reported;
    int port = 0;
};

TEST_F(WebServerTest, EmptyPathIsRefused) {
    for (const std::string request : {"GET / HTTP/1.0\r\n\r\n", "GET HTTP/1.0\r\n\r\n", "GET \t/ \r HTTP/1.1\r\n"}) {
        const Reply r = whilePumping([&] { return talk(port, request); });
        EXPECT_EQ(r.bytes, http::refusalAnswer()) << request;
        EXPECT_TRUE(r.closed);
    }
    EXPECT_TRUE(backend.submitted.empty());
}

TEST_F(WebServerTest, BusyProgramRefusesEveryRequest) {
    backend.isBusy = true;
    writeFile(folder.path() / "faces.gif", "GIF");
    for (const std::string& path : std::vector<std::string>{"/?getLast", "/?status", "/?connect1", "/?clear", "/?scanU",
                                   "/?transfer", "/faces.gif", "/?" + solvedFacelets()}) {
        EXPECT_EQ(get(port, path).bytes, http::refusalAnswer()) << path;
    }
    pumpUntil([] { return false; }, 50ms);  // anything posted would have run by now
    EXPECT_EQ(backend.clears, 0);
    EXPECT_TRUE(backend.devices.empty());
    EXPECT_TRUE(backend.scans.empty());
    EXPECT_EQ(backend.transfers, 0);
    EXPECT_TRUE(backend.submitted.empty());
}

TEST_F(WebServerTest, GetLastAnswersTheBackendsText) {
    EXPECT_EQ(get(port, "/?getLast").bytes,
              "HTTP/1.0 200 OK\r\n\r\n<HTML><BODY>\r\nBuffer is empty!\r\n</BODY></HTML>\r\n");
    backend.last = "R U R' U'";
    EXPECT_EQ(get(port, "/?getlast").bytes, html("R U R' U'"));
    EXPECT_EQ(get(port, "/x?getLast&y").bytes, html("R U R' U'"));
}

TEST_F(WebServerTest, StatusAnswersTheWebcamLetters) {
    EXPECT_EQ(get(port, "/?status").bytes, html(std::string(54, 'x')));
    backend.status = std::string(27, 'r') + std::string(27, 'w');
    EXPECT_EQ(get(port, "/?Status").bytes, html(backend.status));
}

TEST_F(WebServerTest, ConnectPostsTheDeviceIndex) {
    EXPECT_EQ(get(port, "/?connect3").bytes, http::doneAnswer());
    EXPECT_EQ(get(port, "/?Connect0").bytes, http::doneAnswer());
    ASSERT_TRUE(pumpUntil([&] { return backend.devices.size() == 2; }));
    EXPECT_EQ(backend.devices, (std::vector<int>{3, 0}));
}

TEST_F(WebServerTest, ConnectWithoutADigitIsAnError) {
    EXPECT_EQ(get(port, "/?connect").bytes,
              "HTTP/1.0 200 OK\r\n\r\n<HTML><BODY>\r\nError. No valid capture device index!\r\n</BODY></HTML>\r\n");
    EXPECT_EQ(get(port, "/?connectX").bytes, html("Error. No valid capture device index!"));
    pumpUntil([] { return false; }, 50ms);
    EXPECT_TRUE(backend.devices.empty());
}

TEST_F(WebServerTest, ClearEmptiesTheListAndAnswersDone) {
    EXPECT_EQ(get(port, "/?clear").bytes, http::doneAnswer());
    EXPECT_EQ(backend.clears, 1);  // done before the answer
    EXPECT_EQ(get(port, "/?Clear").bytes, http::doneAnswer());
    EXPECT_EQ(backend.clears, 2);
}

TEST_F(WebServerTest, ScanTakesTheFaceLetterInEitherCase) {
    EXPECT_EQ(get(port, "/?scanU").bytes, http::doneAnswer());
    EXPECT_EQ(get(port, "/?scanf").bytes, http::doneAnswer());
    EXPECT_EQ(get(port, "/?scanb").bytes, http::doneAnswer());
    EXPECT_EQ(backend.scans, (std::vector<char>{'U', 'F', 'B'}));
}

TEST_F(WebServerTest, ScanWithAnotherLetterIsAWrongCommand) {
    EXPECT_EQ(get(port, "/?scanX").bytes,
              "HTTP/1.0 200 OK\r\n\r\n<HTML><BODY>\r\nWrong command!\r\n</BODY></HTML>\r\n");
    EXPECT_EQ(get(port, "/?scan").bytes, html("Wrong command!"));
    EXPECT_EQ(get(port, "/?scan1").bytes, html("Wrong command!"));
    EXPECT_TRUE(backend.scans.empty());
}

TEST_F(WebServerTest, TransferAnswersTheTransfersText) {
    EXPECT_EQ(get(port, "/?transfer").bytes, html("Could not resolve the colors due to wrong input."));
    backend.transferText = "Done!";
    EXPECT_EQ(get(port, "/?transfer").bytes, http::doneAnswer());
    EXPECT_EQ(backend.transfers, 2);
}

TEST_F(WebServerTest, FaceletRequestWaitsForTheSearchAndCutsTheLengthMark) {
    backend.pollsToSolve = 3;
    const std::string cube = turnedFacelets(1);
    EXPECT_EQ(get(port, "/?" + cube).bytes, html(cube));
    EXPECT_EQ(backend.polls, 4);  // three while running, one with the result
    EXPECT_EQ(backend.submitted, (std::vector<std::string>{"?" + cube}));
    expectAllReleased();
}

TEST_F(WebServerTest, FaceletRequestAcceptsLowerCaseAndSeparators) {
    std::string cube = turnedFacelets(2), lower, spaced;
    for (std::size_t i = 0; i < cube.size(); ++i) {
        lower += char(cube[i] - 'A' + 'a');
        spaced += cube[i];
        if (i % 3 == 2) spaced += "%20";
    }
    EXPECT_EQ(get(port, "/?" + lower).bytes, html(cube));
    EXPECT_EQ(get(port, "/solve?" + spaced).bytes, html(cube));
    expectAllReleased();
}

TEST_F(WebServerTest, FiftyThreeLettersCannotBeSolved) {
    EXPECT_EQ(get(port, "/?" + solvedFacelets().substr(0, 53)).bytes,
              "HTTP/1.0 200 OK\r\n\r\n<HTML><BODY>\r\nCube cannot be solved. Missing or wrong facelet "
              "colors!\r\n</BODY></HTML>\r\n");
    EXPECT_TRUE(backend.pending.empty());
    EXPECT_EQ(backend.polls, 0);
}

TEST_F(WebServerTest, RemovedEntryAnswersAClearFailure) {
    backend.pollsToSolve = -1;  // the search never ends by itself
    const std::string cube = turnedFacelets(3);
    auto pending = std::async(std::launch::async, [&] { return talk(port, "GET /?" + cube + " HTTP/1.0\r\n\r\n"); });
    ASSERT_TRUE(pumpUntil([&] { return backend.polls >= 2; }));
    backend.clearList();  // as "?clear" from another client, or the user, would
    ASSERT_TRUE(pumpUntil([&] { return pending.wait_for(0s) == std::future_status::ready; }));
    EXPECT_EQ(pending.get().bytes, html(std::string(http::kEntryRemovedText)));
    expectAllReleased();
}

TEST_F(WebServerTest, WriteToFileKeepsOnlyTheLastResult) {
    const fs::path answers = folder.path() / "webserv_ans.txt";
    get(port, "/?" + turnedFacelets(0));
    EXPECT_FALSE(fs::exists(answers));  // off by default

    server->setWriteToFile(true);
    EXPECT_EQ(get(port, "/?" + turnedFacelets(4)).bytes, html(turnedFacelets(4)));
    EXPECT_EQ(readFile(answers), turnedFacelets(4));
    EXPECT_EQ(get(port, "/?" + turnedFacelets(5)).bytes, html(turnedFacelets(5)));
    EXPECT_EQ(readFile(answers), turnedFacelets(5));
    // An error answer is not a result and leaves the file alone.
    get(port, "/?UUU");
    EXPECT_EQ(readFile(answers), turnedFacelets(5));
    expectAllReleased();
}

TEST_F(WebServerTest, FileRowSendsTheFileBytesUnchanged) {
    fs::create_directories(folder.path() / "faces");
    std::string bytes = "GIF89a";
    bytes += std::string("\0\r\n\xff", 4);
    for (int i = 0; i < 200000; ++i) bytes += char(i * 7);
    writeFile(folder.path() / "faces" / "u.gif", bytes);
    const Reply r = get(port, "/faces/u.gif");
    EXPECT_EQ(r.bytes, "HTTP/1.0 200 OK\r\nLast-Modified: Mon, 15 Jan 2004 11:11:11 GMT\r\n\r\n" + bytes);
    EXPECT_TRUE(r.closed);
}

TEST_F(WebServerTest, FileRowRefusesEverythingOutsideTheFolder) {
    TempFolder outside;
    writeFile(outside.path() / "secret-faces.gif", "secret");
    fs::create_directories(folder.path() / "faces");
    fs::create_symlink(outside.path() / "secret-faces.gif", folder.path() / "faces" / "link.gif");
    fs::create_symlink(outside.path(), folder.path() / "faces-out");
    const std::string up = "../" + outside.path().filename().string() + "/secret-faces.gif";
    for (const std::string& path : std::vector<std::string>{"/" + up, "/faces/../" + up, "//" + (outside.path() / "secret-faces.gif").string(),
          "/faces/link.gif", "/faces-out/secret-faces.gif", "/faces/missing.gif", "/faces/x.gif/"}) {
        const Reply r = get(port, path);
        EXPECT_EQ(r.bytes, http::refusalAnswer()) << path;
        EXPECT_EQ(r.bytes.find("secret"), std::string::npos);
    }
    EXPECT_TRUE(reported.empty());
}

TEST_F(WebServerTest, SilentClientIsClosedAfterTheTimeOutWithoutAnswer) {
    const Reply r = whilePumping([&] { return talk(port, ""); });
    EXPECT_EQ(r.bytes, "");
    EXPECT_TRUE(r.closed || r.reset);
    EXPECT_GE(r.elapsed, 400ms);  // not before the time-out
    EXPECT_EQ(get(port, "/?getLast").bytes, html("Buffer is empty!"));
}

TEST_F(WebServerTest, RequestWithoutHttpIsAnsweredAfterTheTimeOut) {
    const Reply r = whilePumping([&] { return talk(port, "GET /?getLast"); });
    EXPECT_EQ(r.bytes, http::refusalAnswer());
    EXPECT_GE(r.elapsed, 400ms);
}

TEST_F(WebServerTest, RequestsWithoutGetOrInTheWrongOrderAreRefused) {
    for (const std::string request : {"POST /?clear HTTP/1.0\r\n\r\n", "HTTP/1.0 GET /?clear\r\n",
                                      "get /?clear http/1.0\r\n"}) {
        EXPECT_EQ(whilePumping([&] { return talk(port, request); }).bytes, http::refusalAnswer()) << request;
    }
    EXPECT_EQ(backend.clears, 0);
}

TEST_F(WebServerTest, BinaryGarbageIsRefusedAndTheServerStaysUp) {
    std::mt19937 rng(7);
    for (int round = 0; round < 5; ++round) {
        std::string garbage(1000 + round * 700, '\0');
        for (auto& c : garbage) c = char(rng());
        garbage += "\n";
        const Reply r = whilePumping([&] { return talk(port, garbage); });
        // Garbage never contains a whole request; the answer, if any, is a refusal.
        EXPECT_TRUE(r.bytes.empty() || r.bytes == http::refusalAnswer()) << round;
    }
    // Text up to a zero byte only: the request after it is not seen.
    EXPECT_EQ(whilePumping([&] { return talk(port, std::string("\0GET /?clear HTTP/1.0\r\n", 24)); }).bytes,
              http::refusalAnswer());
    EXPECT_EQ(backend.clears, 0);
    EXPECT_EQ(get(port, "/?getLast").bytes, html("Buffer is empty!"));
}

TEST_F(WebServerTest, OversizedRequestsAreCutAt5001Bytes) {
    // "HTTP" beyond the first 5001 bytes: no path, refused, and the refusal arrives whole.
    const std::string longPath = "GET /?getLast" + std::string(200000, 'A') + " HTTP/1.0\r\n\r\n";
    Reply r = whilePumping([&] { return talk(port, longPath); });
    EXPECT_EQ(r.bytes, http::refusalAnswer());
    EXPECT_FALSE(r.reset);
    // A request line within the limit followed by a large body is answered normally.
    const std::string withBody = "GET /?getLast HTTP/1.0\r\n\r\n" + std::string(300000, 'B');
    r = whilePumping([&] { return talk(port, withBody); });
    EXPECT_EQ(r.bytes, html("Buffer is empty!"));
    EXPECT_FALSE(r.reset);
    // Exactly at the limit: "HTTP" ending at byte 5001 still counts, one byte later it is cut.
    std::string edge = "GET /?getLast";
    edge += std::string(5001 - edge.size() - 4, ' ') + "HTTP";
    ASSERT_EQ(edge.size(), 5001u);
    r = whilePumping([&] { return talk(port, edge + "/1.0\r\n\r\n"); });
    EXPECT_EQ(r.bytes, html("Buffer is empty!"));
    r = whilePumping([&] { return talk(port, " " + edge + "/1.0\r\n\r\n"); });
    EXPECT_EQ(r.bytes, http::refusalAnswer());
}

TEST_F(WebServerTest, RequestSentInTwoPartsIsReadWhole) {
    ClientOptions split;
    split.splitAt = 9;
    split.pause = 100ms;
    const Reply r = whilePumping([&] { return talk(port, "GET /?getLast HTTP/1.0\r\n\r\n", split); });
    EXPECT_EQ(r.bytes, html("Buffer is empty!"));
}

TEST_F(WebServerTest, ClientLeavingWhileItsCubeSolvesAbandonsItsEntry) {
    server->setWriteToFile(true);
    backend.pollsToSolve = -1;  // would search for ever
    const std::string cube = turnedFacelets(3);
    ClientOptions leave;
    leave.closeAfterSend = true;
    whilePumping([&] { return talk(port, "GET /?" + cube + " HTTP/1.0\r\n\r\n", leave); });
    // The server sees the client go: the entry is abandoned (search stopped, entry taken out),
    // not released, and nothing more is polled or written.
    ASSERT_TRUE(pumpUntil([&] { return backend.abandoned.size() == 1 && server->connectionCount() == 0; }));
    EXPECT_EQ(backend.abandoned, (std::vector<std::uint64_t>{1}));
    EXPECT_TRUE(backend.released.empty());
    const int polls = backend.polls;
    pumpUntil([] { return false; }, 100ms);
    EXPECT_EQ(backend.polls, polls);
    EXPECT_FALSE(fs::exists(folder.path() / "webserv_ans.txt"));
    // The server answers the next client.
    EXPECT_EQ(get(port, "/?getLast").bytes, html("Buffer is empty!"));
}

TEST_F(WebServerTest, ManyClientsAtOnceEachGetTheirOwnCube) {
    constexpr int kClients = 50;
    std::vector<std::string> cubes;
    for (int i = 0; i < kClients; ++i) {
        FaceletCube c;
        c.turn(i % 6);
        c.turn((i / 6) % 6);
        c.turn((i / 36) % 6 + 0);
        cubes.push_back(c.faceletString());
    }
    backend.pollsToSolve = 3;
    std::vector<std::future<Reply>> replies;
    for (int i = 0; i < kClients; ++i)
        replies.push_back(std::async(std::launch::async, [&, i] {
            return talk(port, "GET /?" + cubes[i] + " HTTP/1.0\r\n\r\n");
        }));
    ASSERT_TRUE(pumpUntil([&] {
        for (auto& r : replies)
            if (r.wait_for(0s) != std::future_status::ready) return false;
        return true;
    }, 60s));
    for (int i = 0; i < kClients; ++i) EXPECT_EQ(replies[i].get().bytes, html(cubes[i])) << i;
    expectAllReleased();
}

TEST_F(WebServerTest, BackendFailureEndsTheRequestWithoutAnswerAndIsReported) {
    backend.throwIn = [] { throw std::runtime_error("list failure"); };
    Reply r = get(port, "/?getLast");
    EXPECT_EQ(r.bytes, "");
    ASSERT_TRUE(pumpUntil([&] { return !reported.empty(); }));
    EXPECT_EQ(reported, (std::vector<std::string>{"list failure"}));
    // A message with "64" in it is not shown.
    backend.throwIn = [] { throw std::runtime_error("Socket Error # 10064"); };
    r = get(port, "/?getLast");
    EXPECT_EQ(r.bytes, "");
    pumpUntil([] { return false; }, 100ms);
    EXPECT_EQ(reported.size(), 1u);
    backend.throwIn = nullptr;
    EXPECT_EQ(get(port, "/?getLast").bytes, html("Buffer is empty!"));
}

TEST_F(WebServerTest, ClosingStopsListeningButFinishesAcceptedConnections) {
    backend.pollsToSolve = 20;
    const std::string cube = turnedFacelets(2);
    auto pending = std::async(std::launch::async, [&] { return talk(port, "GET /?" + cube + " HTTP/1.0\r\n\r\n"); });
    ASSERT_TRUE(pumpUntil([&] { return backend.polls >= 1; }));
    server->close();
    EXPECT_FALSE(server->isOpen());
    ASSERT_TRUE(pumpUntil([&] { return pending.wait_for(0s) == std::future_status::ready; }));
    EXPECT_EQ(pending.get().bytes, html(cube));
    EXPECT_THROW(talk(port, "GET /?getLast HTTP/1.0\r\n\r\n"), std::runtime_error);
    // Reopening listens again.
    server->setPort(port);
    ASSERT_TRUE(server->open());
    EXPECT_EQ(get(port, "/?getLast").bytes, html("Buffer is empty!"));
}

TEST_F(WebServerTest, OpeningATakenPortFailsWithAReason) {
    QTcpServer other;
    ASSERT_TRUE(other.listen(QHostAddress::LocalHost, 0));
    WebServer second(backend, events);
    second.setBindAddress(QHostAddress::LocalHost);
    second.setPort(other.serverPort());
    EXPECT_FALSE(second.open());
    EXPECT_FALSE(second.errorString().isEmpty());
    EXPECT_FALSE(second.isOpen());
    second.setPort(70000);
    EXPECT_FALSE(second.open());
}

TEST(WebServerDefaults, AreThoseOfTheProgram) {
    FakeBackend backend;
    QtEvents events;
    WebServer server(backend, events);
    EXPECT_EQ(server.port(), 8080);
    EXPECT_EQ(server.bindAddress(), QHostAddress(QHostAddress::Any));
    EXPECT_EQ(server.readTimeout(), 10000ms);
    EXPECT_EQ(server.pollInterval(), 300ms);
    EXPECT_FALSE(server.writeToFile());
    EXPECT_FALSE(server.isOpen());
    EXPECT_EQ(server.workingFolder(), fs::current_path());
}

TEST(WebServerShutdown, DestroyingTheServerReleasesWaitingClients) {
    FakeBackend backend;
    backend.pollsToSolve = -1;  // never solves
    QtEvents events;
    auto server = std::make_unique<WebServer>(backend, events);
    server->setPort(0);
    server->setBindAddress(QHostAddress::LocalHost);
    server->setPollInterval(10ms);
    ASSERT_TRUE(server->open());
    const int port = server->listeningPort();
    auto waiting = std::async(std::launch::async, [&] { return talk(port, "GET /?" + solvedFacelets() + " HTTP/1.0\r\n\r\n"); });
    auto silent = std::async(std::launch::async, [&] { return talk(port, ""); });
    ASSERT_TRUE(pumpUntil([&] { return backend.polls >= 2 && server->connectionCount() == 2; }));
    server.reset();  // must not hang on either connection
    const Reply a = waiting.get();
    const Reply b = silent.get();
    EXPECT_EQ(a.bytes, "");
    EXPECT_EQ(b.bytes, "");
    EXPECT_LT(b.elapsed, 10000ms);  // did not wait for the full read time-out
    // The waiting entry is released, not abandoned: the server went, not the client.
    EXPECT_EQ(backend.released, (std::vector<std::uint64_t>{1}));
    EXPECT_TRUE(backend.abandoned.empty());
    // Work posted before the server went away is dropped, not run against the backend.
    const int polls = backend.polls;
    pumpUntil([] { return false; }, 100ms);
    EXPECT_EQ(backend.polls, polls);
}

}  // namespace
}  // namespace tx::test
