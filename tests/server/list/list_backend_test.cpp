// The web server over the real cube list, facelet editor and two-phase search (tables from
// the test-data folder), with real TCP clients on 127.0.0.1.
#include <gtest/gtest.h>

#include <unistd.h>

#include <QHostAddress>

#include <future>
#include <memory>

#include "support/test_tables.hpp"
#include "cube/notation.hpp"
#include "cube/random.hpp"
#include "platform/prompts.hpp"
#include "server/list_backend.hpp"
#include "server/qt_events.hpp"
#include "server/web_server.hpp"
#include "server/webcam_port.hpp"
#include "server_support.hpp"
#include "workspace/cube_list.hpp"
#include "workspace/facelet_editor.hpp"
#include "support/scripted_prompts.hpp"

namespace tx::test {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

std::string html(const std::string& body) { return http::htmlAnswer(body); }

// The maneuver, applied to the cube given as a facelet string, solves it.
bool solves(const std::string& facelets, const std::string& maneuver) {
    FaceletCube cube;
    cube.readFaceletString(facelets);
    applyManeuver(cube, maneuver);
    return cube.f == FaceletCube().f;
}

int moveCount(const std::string& maneuver) {
    int n = 0;
    for (char c : maneuver) n += std::string_view("URFDLB").find(c) != std::string_view::npos;
    return n;
}

// The body of an HTML answer.
std::string bodyOf(const std::string& answer) {
    const std::string head = "HTTP/1.0 200 OK\r\n\r\n<HTML><BODY>\r\n", tail = "\r\n</BODY></HTML>\r\n";
    if (answer.size() < head.size() + tail.size() || answer.compare(0, head.size(), head) != 0 ||
        answer.compare(answer.size() - tail.size(), tail.size(), tail) != 0)
        return "<not an HTML answer: " + answer + ">";
    return answer.substr(head.size(), answer.size() - head.size() - tail.size());
}

class ListBackendTables : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(testing::loadTestTables().ready());
        list.context().tables = &testing::testTableSource();
        list.hooks.pump = [] { QCoreApplication::processEvents(); };
        list.hooks.repaintEditor = [this] { ++editorRepaints; };
        server = std::make_unique<WebServer>(backend, events);
        server->setPort(0);
        server->setBindAddress(QHostAddress::LocalHost);
        server->setWorkingFolder(folder.path());
        server->setPollInterval(20ms);
        server->setReadTimeout(2000ms);
        ASSERT_TRUE(server->open());
        port = server->listeningPort();
    }
    void TearDown() override {
        // Every connection ends and lets go of its entry.
        EXPECT_TRUE(pumpUntil([&] { return server->connectionCount() == 0 && backend.waiting() == 0; }, 20s));
        server.reset();
    }

    std::string randomFacelets() {
        FaceletCube c;
        randomCube(c, rng);
        return c.faceletString();
    }

    TempFolder folder;
    QtEvents events;
    ScriptedPrompts prompts;
    CubeList list{events, prompts};
    FaceletEditor editor;
    NoCameraWebcam webcam;
    ListBackend backend{list, editor, webcam};
    std::unique_ptr<WebServer> server;
    MersenneTwister rng{2024};
    int editorRepaints = 0;
    int port = 0;
};

TEST_F(ListBackendTables, FaceletRequestsAreSolvedWithinTheTargetLength) {
    for (int i = 0; i < 4; ++i) {
        const std::string cube = randomFacelets();
        const std::string maneuver = bodyOf(get(port, "/?" + cube).bytes);
        EXPECT_TRUE(solves(cube, maneuver)) << cube << " -> " << maneuver;
        EXPECT_LE(moveCount(maneuver), list.context().stopAt);
        EXPECT_EQ(maneuver.find('('), std::string::npos);  // the length mark is cut
        ASSERT_EQ(list.size(), std::size_t(i + 1));
        const Entry& e = *list.entries().back();
        EXPECT_TRUE(e.showSolver);
        EXPECT_FALSE(e.searchRunning);
        EXPECT_EQ(cutLengthMark(e.solverText), maneuver);
        EXPECT_EQ(editor.cube().faceletString(), cube);  // the editor holds the request's cube
        // "?getLast" reads the same entry.
        EXPECT_EQ(get(port, "/?getLast").bytes, html(maneuver));
    }
    EXPECT_GE(editorRepaints, 4);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(ListBackendTables, TheSameCubeTwiceMakesTwoEntries) {
    const std::string cube = randomFacelets();
    std::string lower;
    for (char c : cube) lower += char(c - 'A' + 'a');
    const std::string first = bodyOf(get(port, "/?" + cube).bytes);
    const std::string second = bodyOf(get(port, "/?" + lower).bytes);
    EXPECT_TRUE(solves(cube, first));
    EXPECT_TRUE(solves(cube, second));
    EXPECT_EQ(list.size(), 2u);
    EXPECT_TRUE(list.isoCheck);  // switched off for the request only
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(ListBackendTables, AnIncompleteCubeIsRefusedAndLeavesTheListAlone) {
    const std::string cube = randomFacelets();
    EXPECT_EQ(get(port, "/?" + cube.substr(0, 53)).bytes,
              html("Cube cannot be solved. Missing or wrong facelet colors!"));
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(editor.cube().f[53], kUndefinedFacelet);  // the editor shows what was read
    EXPECT_GE(editorRepaints, 1);
}

TEST_F(ListBackendTables, GetLastOnTheListsTexts) {
    EXPECT_EQ(get(port, "/?getLast").bytes, html("Buffer is empty!"));
    Entry plain;
    plain.cube = FaceletCube();
    plain.setSolverText("R U F  (3f)", 3);
    list.addCube(plain, AddRequest{});
    EXPECT_EQ(get(port, "/?getLast").bytes, html("R U F"));
    Entry proved;
    proved.cube.turn(0);
    proved.setSolverText("U' D D' (3f)", 3);
    proved.setOptimalManeuver("U'  (1f*)", 1, true);
    list.addCube(proved, AddRequest{});
    EXPECT_EQ(get(port, "/?getlast").bytes, html("U'"));
}

TEST_F(ListBackendTables, ClearingTheListReleasesAWaitingClient) {
    list.context().stopAt = 5;  // a random cube never gets there: the search keeps running
    const std::string cube = randomFacelets();
    auto waiting = std::async(std::launch::async, [&] { return talk(port, "GET /?" + cube + " HTTP/1.0\r\n\r\n"); });
    ASSERT_TRUE(pumpUntil([&] { return !list.empty() && list.entries().back()->searchRunning; }));
    EXPECT_EQ(get(port, "/?clear").bytes, http::doneAnswer());
    EXPECT_TRUE(list.empty());
    ASSERT_TRUE(pumpUntil([&] { return waiting.wait_for(0s) == std::future_status::ready; }));
    EXPECT_EQ(waiting.get().bytes, html(std::string(http::kEntryRemovedText)));
}

TEST_F(ListBackendTables, ClientsLeavingStopTheirSearchesAndTakeTheirEntriesOut) {
    list.context().stopAt = 5;  // a random cube never gets there: only a stop ends the search
    std::vector<int> clients;
    for (int i = 0; i < 5; ++i)
        clients.push_back(whilePumping([&] { return openConnection(port, "GET /?" + randomFacelets() + " HTTP/1.0\r\n\r\n"); }));
    ASSERT_TRUE(pumpUntil([&] {
        if (list.size() != 5) return false;
        for (const auto& e : list.entries())
            if (!e->searchRunning) return false;
        return true;
    }));
    const auto searching = list.entries();
    for (int fd : clients) ::close(fd);
    // The server sees each client go: its search stops and its entry leaves the list.
    EXPECT_TRUE(pumpUntil([&] {
        for (const auto& e : searching)
            if (e->searchRunning) return false;
        return list.empty() && backend.waiting() == 0;
    }, 10s));
    // A client that stays still gets its answer.
    list.context().stopAt = 21;
    const std::string cube = randomFacelets();
    EXPECT_TRUE(solves(cube, bodyOf(get(port, "/?" + cube).bytes)));
}

TEST_F(ListBackendTables, WriteToFileKeepsTheSecondOfTwoResults) {
    server->setWriteToFile(true);
    const std::string a = randomFacelets(), b = randomFacelets();
    const std::string first = bodyOf(get(port, "/?" + a).bytes);
    EXPECT_EQ(readFile(folder.path() / "webserv_ans.txt"), first);
    const std::string second = bodyOf(get(port, "/?" + b).bytes);
    EXPECT_TRUE(solves(b, second));
    EXPECT_EQ(readFile(folder.path() / "webserv_ans.txt"), second);
}

TEST_F(ListBackendTables, WebcamRequestsWithoutACamera) {
    EXPECT_EQ(get(port, "/?status").bytes, html(std::string(54, 'x')));
    EXPECT_EQ(get(port, "/?scanU").bytes, http::doneAnswer());
    EXPECT_EQ(get(port, "/?transfer").bytes, html("Could not resolve the colors due to wrong input."));
    EXPECT_EQ(get(port, "/?connect1").bytes, http::doneAnswer());
    EXPECT_TRUE(list.empty());
}

TEST_F(ListBackendTables, BusyProgramRefuses) {
    backend.busyHook = [] { return true; };
    EXPECT_EQ(get(port, "/?" + randomFacelets()).bytes, http::refusalAnswer());
    EXPECT_EQ(get(port, "/?getLast").bytes, http::refusalAnswer());
    EXPECT_TRUE(list.empty());
}

TEST_F(ListBackendTables, SeveralClientsAtOnceEachGetTheirOwnSolution) {
    constexpr int kClients = 8;
    std::vector<std::string> cubes;
    std::vector<std::future<Reply>> replies;
    for (int i = 0; i < kClients; ++i) cubes.push_back(randomFacelets());
    for (int i = 0; i < kClients; ++i)
        replies.push_back(std::async(std::launch::async, [&, i] {
            return talk(port, "GET /?" + cubes[i] + " HTTP/1.0\r\n\r\n", ClientOptions{false, 0ms, std::string::npos, 120s});
        }));
    ASSERT_TRUE(pumpUntil([&] {
        for (auto& r : replies)
            if (r.wait_for(0s) != std::future_status::ready) return false;
        return true;
    }, 120s));
    for (int i = 0; i < kClients; ++i) {
        const std::string maneuver = bodyOf(replies[i].get().bytes);
        EXPECT_TRUE(solves(cubes[i], maneuver)) << i << ": " << maneuver;
    }
    EXPECT_EQ(list.size(), std::size_t(kClients));
}

}  // namespace
}  // namespace tx::test
