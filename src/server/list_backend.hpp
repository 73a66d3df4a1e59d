#pragma once
// The web server's backend over the program itself: the cube list, the facelet editor and
// the webcam. Lives on the main thread, as every call comes from there.
#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "server/server_backend.hpp"

namespace tx {

class CubeList;
class FaceletEditor;
class WebcamPort;
struct Entry;

class ListBackend : public ServerBackend {
public:
    ListBackend(CubeList& list, FaceletEditor& editor, WebcamPort& webcam);

    // The editor's add-and-solve button is disabled (tables being built); unset: never busy.
    std::function<bool()> busyHook;
    // Set: a submitted cube's entry is handed here instead of starting the list's search (the
    // fast engine of serve --fast); the call leaves the entry solved or its search started.
    std::function<void(const std::shared_ptr<Entry>&)> solveNow;

    bool busy() override;
    std::string lastResult() override;
    std::string webcamStatus() override;
    void selectCaptureDevice(int index) override;
    void clearList() override;
    std::string scan(char face) override;
    std::string transfer() override;
    FaceletSubmission submit(const std::string& path) override;
    std::optional<std::string> poll(std::uint64_t handle) override;
    void release(std::uint64_t handle) override;
    void abandon(std::uint64_t handle) override;

    // Entries clients are still waiting for.
    std::size_t waiting() const { return waiting_.size(); }

    // A list nobody looks at (the headless server) keeps at most this many entries: after a
    // request, the oldest entries no client waits for are taken out. 0: no bound (the desktop
    // program, whose user clears the list).
    std::size_t keepAtMost = 0;

private:
    void trim();

    CubeList& list_;
    FaceletEditor& editor_;
    WebcamPort& webcam_;
    // The entry of each waiting client, held so that it stays readable even when the list
    // drops it; its `removed` flag tells the client.
    std::unordered_map<std::uint64_t, std::shared_ptr<Entry>> waiting_;
    std::uint64_t nextHandle_ = 1;
};

}  // namespace tx
