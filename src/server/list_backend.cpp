#include "server/list_backend.hpp"

#include <unordered_set>

#include "cube/notation.hpp"
#include "server/request.hpp"
#include "server/webcam_port.hpp"
#include "workspace/entry.hpp"
#include "workspace/cube_list.hpp"
#include "workspace/facelet_editor.hpp"

namespace tx {

ListBackend::ListBackend(CubeList& list, FaceletEditor& editor, WebcamPort& webcam)
    : list_(list), editor_(editor), webcam_(webcam) {}

bool ListBackend::busy() { return busyHook && busyHook(); }

std::string ListBackend::lastResult() {
    if (list_.empty()) return std::string(http::kBufferEmptyText);
    const Entry& e = *list_.entries().back();
    return cutLengthMark(e.hasOptimalManeuver() ? e.optimalText : e.solverText);
}

std::string ListBackend::webcamStatus() { return webcamStatusText(webcam_.webcamCube()); }

void ListBackend::selectCaptureDevice(int index) { webcam_.selectDevice(index); }

void ListBackend::clearList() { list_.clear(false); }

std::string ListBackend::scan(char face) { return webcam_.scan(face); }

std::string ListBackend::transfer() { return webcam_.transfer(); }

FaceletSubmission ListBackend::submit(const std::string& path) {
    std::string error = http::readFaceletRequest(path, editor_.cube());
    if (list_.hooks.repaintEditor) list_.hooks.repaintEditor();
    if (!error.empty()) return {std::move(error), 0};

    AddRequest how;
    how.showSolver = true;
    how.centersCount = list_.options.fixCenterFacelets;
    how.startSearch = !solveNow;
    // Every request makes an entry of its own, even for a cube the list already holds.
    const bool isoCheck = list_.isoCheck;
    list_.isoCheck = false;
    std::shared_ptr<Entry> entry;
    try {
        entry = list_.addCube(editor_.cube(), how);
    } catch (...) {
        list_.isoCheck = isoCheck;
        throw;
    }
    list_.isoCheck = isoCheck;
    if (!entry) return {std::string(http::kCannotSolveText), 0};
    if (solveNow) solveNow(entry);
    const std::uint64_t handle = nextHandle_++;
    waiting_.emplace(handle, std::move(entry));
    return {"", handle};
}

std::optional<std::string> ListBackend::poll(std::uint64_t handle) {
    const auto it = waiting_.find(handle);
    if (it == waiting_.end()) return std::string(http::kEntryRemovedText);
    const Entry& e = *it->second;
    if (e.removed) return std::string(http::kEntryRemovedText);
    if (e.searchRunning) return std::nullopt;
    return cutLengthMark(e.solverText);
}

void ListBackend::release(std::uint64_t handle) {
    waiting_.erase(handle);
    trim();
}

void ListBackend::abandon(std::uint64_t handle) {
    const auto it = waiting_.find(handle);
    if (it == waiting_.end()) return;
    const std::shared_ptr<Entry> entry = std::move(it->second);
    waiting_.erase(it);
    list_.remove({entry});  // stops its search first
}

// Takes out the oldest entries beyond keepAtMost, a tenth more at once so that the list is not
// trimmed after every request.
void ListBackend::trim() {
    if (keepAtMost == 0 || list_.size() <= keepAtMost) return;
    std::unordered_set<const Entry*> waited;
    for (const auto& [handle, e] : waiting_) waited.insert(e.get());
    const std::size_t excess = list_.size() - keepAtMost + keepAtMost / 10;
    std::vector<std::shared_ptr<Entry>> oldest;
    for (const auto& e : list_.entries()) {
        if (oldest.size() == excess) break;
        if (!waited.count(e.get())) oldest.push_back(e);
    }
    list_.remove(oldest);
}

}  // namespace tx
