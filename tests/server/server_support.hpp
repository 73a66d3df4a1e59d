#pragma once
// Helpers of the web server tests: a scripted backend that records every call, a plain
// POSIX client that runs on its own thread while the test thread runs the Qt event loop
// (the server's main thread), and a temporary folder.
#include <QCoreApplication>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <future>
#include <map>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "cube/facelet_cube.hpp"
#include "cube/notation.hpp"
#include "server/request.hpp"
#include "server/server_backend.hpp"
#include "support/temp_folder.hpp"

namespace tx::test {

// Runs the Qt event loop of the test thread until pred() holds or the time is up.
bool pumpUntil(const std::function<bool()>& pred,
               std::chrono::milliseconds limit = std::chrono::seconds(20));

// Runs fn on a thread of its own while the test thread serves Qt events; its result.
template <class Fn>
auto whilePumping(Fn fn) -> decltype(fn()) {
    auto future = std::async(std::launch::async, std::move(fn));
    pumpUntil([&] { return future.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
              std::chrono::seconds(60));
    return future.get();
}

struct Reply {
    std::string bytes;       // everything the server sent
    bool closed = false;     // the server closed the connection (end of stream)
    bool reset = false;      // the connection was reset
    std::chrono::milliseconds elapsed{0};
};

struct ClientOptions {
    bool closeAfterSend = false;              // leave at once, not reading the answer
    std::chrono::milliseconds pause{0};       // between the two parts of a split request
    std::size_t splitAt = std::string::npos;  // send the request in two parts
    std::chrono::milliseconds patience{15000};  // give up reading after this long
    const char* from = nullptr;                 // the local address (any 127.x.y.z), if not the usual
};

// Connects to 127.0.0.1:port, sends request (nothing when empty) and reads until the server
// closes. Blocking; call it through whilePumping or from a client thread.
Reply talk(int port, const std::string& request, const ClientOptions& options = {});
// The usual form: a GET request for path, answered while the test thread pumps events.
Reply get(int port, const std::string& path);

// A connection to 127.0.0.1:port from the local address `from` (any 127.x.y.z), sending
// `bytes` and then nothing; the descriptor, -1 when it could not connect.
int openConnection(int port, const std::string& bytes = "", const char* from = "127.0.0.1");
// The server has closed the connection (end of stream or reset) within `wait`.
bool closedByServer(int fd, std::chrono::milliseconds wait);

using testing::TempFolder;
using testing::readFile;
using testing::writeFile;

// A facelet string with all six faces in their own colour, and a few known cubes.
std::string solvedFacelets();
// The cube after one turn of `code`, as a facelet string.
std::string turnedFacelets(int code);

// Records every call, the thread it came on, and answers from its script. A facelet request
// is read with the real request reader; an accepted cube "solves" after pollsToSolve polls,
// with a solver text made of its own facelet string and a length mark.
class FakeBackend : public ServerBackend {
public:
    struct Pending {
        std::string facelets;
        int pollsLeft = 0;
        bool removed = false;
    };

    std::thread::id mainThread = std::this_thread::get_id();
    bool calledOffMain = false;

    bool isBusy = false;
    std::string last = std::string(http::kBufferEmptyText);
    std::string status = std::string(54, 'x');
    std::string scanText = "Done!";
    std::string transferText = "Could not resolve the colors due to wrong input.";
    int pollsToSolve = 2;
    std::function<void()> throwIn;  // called by lastResult(), may throw

    std::vector<int> devices;
    int clears = 0;
    std::vector<char> scans;
    int transfers = 0;
    std::vector<std::string> submitted;
    std::map<std::uint64_t, Pending> pending;
    std::vector<std::uint64_t> released;
    std::vector<std::uint64_t> abandoned;
    int polls = 0;

    static std::string solverTextFor(const std::string& facelets) { return facelets + "  (0f)"; }

    bool busy() override {
        note();
        return isBusy;
    }
    std::string lastResult() override {
        note();
        if (throwIn) throwIn();
        return last;
    }
    std::string webcamStatus() override {
        note();
        return status;
    }
    void selectCaptureDevice(int index) override {
        note();
        devices.push_back(index);
    }
    void clearList() override {
        note();
        ++clears;
        for (auto& [h, p] : pending) p.removed = true;
    }
    std::string scan(char face) override {
        note();
        scans.push_back(face);
        return scanText;
    }
    std::string transfer() override {
        note();
        ++transfers;
        return transferText;
    }
    FaceletSubmission submit(const std::string& path) override {
        note();
        submitted.push_back(path);
        FaceletCube cube;
        std::string error = http::readFaceletRequest(path, cube);
        if (!error.empty()) return {error, 0};
        const std::uint64_t handle = nextHandle_++;
        pending[handle] = {cube.faceletString(), pollsToSolve, false};
        return {"", handle};
    }
    std::optional<std::string> poll(std::uint64_t handle) override {
        note();
        ++polls;
        auto& p = pending.at(handle);
        if (p.removed) return std::string(http::kEntryRemovedText);
        if (p.pollsLeft < 0) return std::nullopt;  // never ends
        if (p.pollsLeft-- > 0) return std::nullopt;
        return cutLengthMark(solverTextFor(p.facelets));
    }
    void release(std::uint64_t handle) override {
        note();
        released.push_back(handle);
    }
    void abandon(std::uint64_t handle) override {
        note();
        abandoned.push_back(handle);
    }

private:
    void note() {
        if (std::this_thread::get_id() != mainThread) calledOffMain = true;
    }
    std::uint64_t nextHandle_ = 1;
};

}  // namespace tx::test
