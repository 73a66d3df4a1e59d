// tesserix-cli serve as a process at its limits: out of descriptors it refuses connections
// instead of dying, and clients that leave do not leave searches running.
#include <gtest/gtest.h>
#include <unistd.h>

#include <thread>
#include <vector>

#include "cube/random.hpp"
#include "serve_process.hpp"
#include "server_support.hpp"

namespace tx::test {
namespace {

using namespace std::chrono_literals;

std::string randomFacelets(MersenneTwister& rng) {
    FaceletCube c;
    randomCube(c, rng);
    return c.faceletString();
}

TEST(ServeLimits, MoreConnectionsThanDescriptorsAreRefusedNotFatal) {
    TempFolder folder;
    ServeProcess serve(folder.path(), {}, 256);
    ASSERT_NE(serve.port(), 0) << serve.log();
    std::vector<int> held;
    for (int i = 0; i < 300; ++i) {
        const int fd = openConnection(serve.port(), "GET /", i % 2 ? "127.0.0.2" : "127.0.0.3");
        if (fd >= 0) held.push_back(fd);
    }
    EXPECT_EQ(held.size(), 300u);
    std::this_thread::sleep_for(600ms);  // the held connections are old enough to make room
    // A good client still gets in and is answered; the server lives on.
    EXPECT_EQ(talk(serve.port(), "GET /?getLast HTTP/1.0\r\n\r\n").bytes, http::htmlAnswer("Buffer is empty!"));
    EXPECT_TRUE(serve.running());
    EXPECT_NE(serve.log().find("refused, too many connections"), std::string::npos);
    for (int fd : held) ::close(fd);
    EXPECT_EQ(talk(serve.port(), "GET /?getLast HTTP/1.0\r\n\r\n").bytes, http::htmlAnswer("Buffer is empty!"));
    EXPECT_TRUE(serve.terminate());
}

TEST(ServeLimits, ClientsThatLeaveTakeTheirSearchesWithThem) {
    TempFolder folder;
    ServeProcess serve(folder.path(), {"--stop-at", "5"});  // no random cube gets there
    ASSERT_NE(serve.port(), 0) << serve.log();
    MersenneTwister rng(31);
    std::vector<int> clients;
    for (int i = 0; i < 5; ++i)
        clients.push_back(openConnection(serve.port(), "GET /?" + randomFacelets(rng) + " HTTP/1.0\r\n\r\n"));
    std::this_thread::sleep_for(500ms);
    for (int fd : clients) ::close(fd);
    std::this_thread::sleep_for(1s);
    // Five endless searches would use both cores; stopped, the server is idle.
    const double before = serve.cpuSeconds();
    std::this_thread::sleep_for(2s);
    EXPECT_LT(serve.cpuSeconds() - before, 0.5);
    EXPECT_NE(serve.log().find("no answer: the client closed the connection"), std::string::npos) << serve.log();
    EXPECT_TRUE(serve.terminate());
}

}  // namespace
}  // namespace tx::test
