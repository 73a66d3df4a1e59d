#pragma once
// One client connection of the web server. It has no thread of its own: the server's event
// loop says when its socket can be read or written, and the connection moves through
//   Reading    collecting the request (at most 5001 bytes, until the read time-out);
//   Working    the request is being handled (a call into the program);
//   Queued     a facelet request waiting for one of the server's search places;
//   Searching  its cube is in the list and being solved; the result is polled;
//   Sending    the answer goes out as fast as the client takes it (time-out without progress);
//   Lingering  answered; what the client still sends is dropped until it closes (1 s at most);
//   Closed     the socket is closed, one log line written, the server told.
// A client that leaves before its answer (closes or resets) ends its search: the entry made
// for it is abandoned, which stops the search and takes the entry out of the list.
#include <QObject>
#include <QString>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "server/request.hpp"
#include "server/request_log.hpp"

class QSocketNotifier;
class QTimer;

namespace tx {

class Events;
class ServerBackend;

namespace detail {

class Connection;

// What every connection reads from the server; the server changes it on its own thread only.
struct ServerCore {
    ServerCore(ServerBackend& b, Events& e) : backend(&b), events(&e) {}
    ServerBackend* backend;
    Events* events;
    bool writeToFile = false;
    std::filesystem::path folder;  // empty: the process's current folder
    std::chrono::milliseconds readTimeout{10000};
    std::chrono::milliseconds pollInterval{300};
    // Failures of the server itself, and one line per ended connection; both may be empty.
    std::function<void(const std::string&)> reporter;
    std::function<void(const std::string&)> logger;
    // Cleared when the server goes away: work it posted is dropped then.
    std::shared_ptr<bool> alive = std::make_shared<bool>(true);

    std::filesystem::path workingFolder() const;
    // Hands message to the reporter later, on the event loop (a message box must not open
    // inside a socket handler); messages containing "64" are not shown.
    void report(const std::string& message) const;
};

// What a connection asks of its server.
class ConnectionHost {
public:
    virtual ~ConnectionHost() = default;
    virtual ServerCore& core() = 0;
    // A facelet request wants to search: true when it may now, false when it was queued (the
    // server calls startSearch() when its turn comes).
    virtual bool takeSearchPlace(Connection& c) = 0;
    // Gives the place back (or leaves the queue).
    virtual void leaveSearchPlace(Connection& c) = 0;
    // The connection is closed; the server forgets it and deletes it later.
    virtual void ended(Connection& c) = 0;
};

class Connection final : public QObject {
public:
    enum class State { Reading, Working, Queued, Searching, Sending, Lingering, Closed };
    using Clock = std::chrono::steady_clock;

    Connection(ConnectionHost& host, int descriptor, std::string address, QObject* parent = nullptr);
    ~Connection() override;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void start();
    State state() const { return state_; }
    const std::string& address() const { return record_.address; }
    Clock::time_point acceptedAt() const { return accepted_; }

    // The server's turns: the queued facelet request may search now; the connection is closed
    // for a newcomer (only while Reading); the server goes away (no answer, entry released).
    void startSearch();
    void evict(const std::string& why);
    // Reads what the client has sent and not yet been read (the event loop may lag behind);
    // true when the connection is still waiting for its request.
    bool stillReading();
    void serverStopped();

private:
    class Turn;

    void onReadable();
    void onWritable();
    void onDeadline();
    void onPoll();
    bool receive();  // false when the connection ended on the way
    void process();
    void dispatch(http::RequestKind kind);
    void submit();
    void gone(const std::string& why);
    void answer(std::string bytes, std::string result);
    void answerFile();
    bool refillFromFile();
    void pushOut();
    void finishAnswer();
    void close(const std::string& result);
    void armDeadline(std::chrono::milliseconds in);
    // Runs a call into the backend; false (connection closed, failure reported) when it threw.
    bool guarded(const std::function<void()>& call);

    ConnectionHost& host_;
    ServerCore& core_;
    int fd_;
    State state_ = State::Reading;
    int depth_ = 0;         // handlers of this connection on the stack
    bool toldHost_ = false;
    Clock::time_point accepted_ = Clock::now();
    std::unique_ptr<QSocketNotifier> readable_, writable_;
    QTimer* deadline_;
    QTimer* poll_;

    std::string request_;        // at most kMaxRequestBytes
    std::size_t received_ = 0;   // every byte the client sent
    std::string path_;
    std::optional<std::uint64_t> handle_;  // the entry of a facelet request
    std::string out_;
    std::size_t sent_ = 0;
    int file_ = -1;              // a file being sent
    std::size_t fileBytes_ = 0;
    http::RequestRecord record_;
};

}  // namespace detail
}  // namespace tx
