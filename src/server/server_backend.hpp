#pragma once
// What an HTTP request needs from the rest of the program. The web server calls every
// method on the main thread (through Events), so an implementation may touch the cube list,
// the facelet editor and the webcam page freely; no method may block for long.
#include <cstdint>
#include <optional>
#include <string>

namespace tx {

// A facelet request once it has been read into the editor: either an error text to answer
// at once, or a handle to the new list entry whose search the connection waits for.
struct FaceletSubmission {
    std::string error;         // non-empty: answer this text, no entry was made
    std::uint64_t handle = 0;  // valid when error is empty
    bool accepted() const { return error.empty(); }
};

class ServerBackend {
public:
    virtual ~ServerBackend() = default;

    // The program is busy (the editor's add-and-solve button is disabled): refuse everything.
    virtual bool busy() = 0;
    // "?getLast": "Buffer is empty!" for an empty list, else the last entry's optimal maneuver
    // when it is proved optimal, otherwise its solver text, the length mark cut in both cases.
    virtual std::string lastResult() = 0;
    // "?status": the webcam cube as 54 letters r o b g y w, x for an undefined facelet.
    virtual std::string webcamStatus() = 0;
    // "?connect": select capture device `index` as if the user had chosen it. The server
    // posts this and does not wait for it.
    virtual void selectCaptureDevice(int index) = 0;
    // "?clear": empty the cube list without asking.
    virtual void clearList() = 0;
    // "?scan": set the webcam page's face to `face` (one of U R F D L B) and scan it; answers
    // the text to send.
    virtual std::string scan(char face) = 0;
    // "?transfer": transfer the webcam cube to the editor and the list; answers "Done!" or the
    // failure text.
    virtual std::string transfer() = 0;
    // A facelet request: fill the editor from the letters of `path`, check it and, when it is
    // a whole cube, add it to the list and start a two-phase search on it.
    virtual FaceletSubmission submit(const std::string& path) = 0;
    // nullopt while the entry's search runs; then its solver text with the length mark cut.
    // An entry taken out of the list meanwhile answers kEntryRemovedText.
    virtual std::optional<std::string> poll(std::uint64_t handle) = 0;
    // The connection is done with `handle` (answered, or the server stopped); the entry stays
    // in the list. For every accepted submission either this or abandon() is called, once.
    virtual void release(std::uint64_t handle) = 0;
    // The client left before its answer: stop the entry's search and take the entry out of the
    // list, as it was made only for that client (unless it is gone from the list already).
    virtual void abandon(std::uint64_t handle) = 0;
};

}  // namespace tx
