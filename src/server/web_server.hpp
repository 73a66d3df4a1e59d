#pragma once
// The HTTP listener. Every connection is served on the event loop of the thread that owns the
// server (the main thread): no thread waits on a socket, so idle or slow clients cost a
// descriptor and a few kilobytes each, nothing more. What a request asks of the program is
// asked directly (the backend lives on the same thread); a facelet request waits for its
// search by polling the backend.
//
// Bounds, so that no client can wear the server down:
// - at most limits().connections connections at once, and never more than half of the file
//   descriptors left under the process's limit when the server opened (each connection may
//   hold a socket and a file); at most limits().perAddress from one client address. When a
//   newcomer would pass a bound, the oldest connection of that address (or of all) that is
//   still sending its request, for kEvictAfter or longer, is closed for it; when there is
//   none, the newcomer is closed at once. Accepting never runs out of descriptors.
// - one address opens at most limits().perAddress (or newPerSecond) connections in a burst, then
//   limits().newPerSecond a second; faster ones are closed as they come (one log line a
//   second for them).
// - a request is read for readTimeout() at most (10 s) and is at most 5001 bytes; a client
//   that sends more than 64 KiB in all is cut off; an answer that makes no progress for
//   readTimeout() is given up.
// - at most limits().searches facelet requests search at once; further ones wait in line, and
//   a free place goes first to an address holding less than a quarter of the places.
//
// Every method is called on the owning thread. The backend and the events object must
// outlive the server; the destructor stops listening and closes every connection without
// an answer (waiting entries are released, not removed), and never waits.
#include <QHostAddress>
#include <QObject>
#include <QString>

#include <chrono>
#include <deque>
#include <filesystem>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "server/connection.hpp"
#include "server/connection_rate.hpp"

class QTcpServer;

namespace tx {

class Events;
class ServerBackend;

class WebServer : public QObject, private detail::ConnectionHost {
    Q_OBJECT
public:
    static constexpr int kDefaultPort = 8080;
    static constexpr std::chrono::milliseconds kReadTimeout{10000};
    static constexpr std::chrono::milliseconds kPollInterval{300};
    static constexpr std::chrono::milliseconds kEvictAfter{500};
    static constexpr std::chrono::milliseconds kAcceptPause{10};
    // Descriptors kept free for everything else the program opens.
    static constexpr int kReservedDescriptors = 64;

    struct Limits {
        int connections = 1024;
        int perAddress = 256;
        int searches = 32;
        int newPerSecond = 64;
    };

    WebServer(ServerBackend& backend, Events& events, QObject* parent = nullptr);
    ~WebServer() override;
    WebServer(const WebServer&) = delete;
    WebServer& operator=(const WebServer&) = delete;

    // Listening port and address; they take effect at the next open(). Port 0 lets the
    // system choose (see listeningPort()).
    void setPort(int port) { port_ = port; }
    int port() const { return port_; }
    void setBindAddress(const QHostAddress& address) { address_ = address; }
    QHostAddress bindAddress() const { return address_; }

    // Mirror every facelet answer into "webserv_ans.txt" in the working folder.
    void setWriteToFile(bool on) { core_.writeToFile = on; }
    bool writeToFile() const { return core_.writeToFile; }
    // The folder files are served from and the answer file is written to; the current
    // folder of the process, unless set.
    void setWorkingFolder(const std::filesystem::path& folder) { core_.folder = folder; }
    std::filesystem::path workingFolder() const { return core_.workingFolder(); }

    // Time-outs, for tests; they apply to connections accepted afterwards.
    void setReadTimeout(std::chrono::milliseconds timeout) { core_.readTimeout = timeout; }
    std::chrono::milliseconds readTimeout() const { return core_.readTimeout; }
    void setPollInterval(std::chrono::milliseconds interval) { core_.pollInterval = interval; }
    std::chrono::milliseconds pollInterval() const { return core_.pollInterval; }

    // The bounds above; they take effect at the next open().
    void setLimits(const Limits& limits) { limits_ = limits; }
    const Limits& limits() const { return limits_; }
    // The connection bound in force since open(): limits().connections or fewer, as the
    // descriptor limit allows.
    int connectionLimit() const { return connectionLimit_; }

    // Failures of the server itself while serving a request (not of the client): the
    // message is handed to `report` later on the owning thread, except messages containing "64".
    void setErrorReporter(std::function<void(const std::string&)> report) { core_.reporter = std::move(report); }
    // One line per ended connection (see request_log.hpp).
    void setRequestLogger(std::function<void(const std::string&)> log) { core_.logger = std::move(log); }

    // Opens the listener; false when it cannot (errorString() says why). Opening an open
    // listener closes it first.
    bool open();
    // Stops listening; connections already accepted are served to the end.
    void close();
    bool isOpen() const;
    quint16 listeningPort() const;
    QString errorString() const;

    // Connections accepted and not yet ended; facelet requests searching and waiting in line.
    int connectionCount() const { return static_cast<int>(connections_.size()); }
    int searchingCount() const { return static_cast<int>(searching_.size()); }
    int queuedCount() const { return static_cast<int>(searchQueue_.size()); }

private:
    void accept(qintptr descriptor);
    bool evictOldestIdle(const std::string* address, const std::string& why);
    void refuse(int descriptor, const std::string& address, const std::string& why);
    void refuseTooFast(int descriptor, const std::string& address);
    void promote();
    void startSearching(detail::Connection& c);
    bool stopSearching(detail::Connection& c);  // false when c was not searching

    detail::ServerCore& core() override { return core_; }
    bool takeSearchPlace(detail::Connection& c) override;
    void leaveSearchPlace(detail::Connection& c) override;
    void ended(detail::Connection& c) override;

    detail::ServerCore core_;
    std::unique_ptr<QTcpServer> listener_;
    QHostAddress address_ = QHostAddress::Any;
    int port_ = kDefaultPort;
    QString error_;
    Limits limits_;
    int connectionLimit_ = Limits{}.connections;
    std::list<detail::Connection*> connections_;  // oldest first
    std::unordered_map<std::string, int> perAddress_;
    detail::ConnectionRate rate_;
    bool acceptPaused_ = false;
    std::unordered_set<detail::Connection*> searching_;
    std::unordered_map<std::string, int> searchingFrom_;  // searches running per address
    std::deque<detail::Connection*> searchQueue_;
};

}  // namespace tx
