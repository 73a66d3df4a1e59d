#pragma once
// One served connection of the web server, and the state it shares with the server. The
// shared state outlives the server object: closures posted to the main thread hold it and
// look at `stopping` before they touch the backend.
#include <QRunnable>
#include <QtGlobal>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

class QTcpSocket;

namespace tx {

class Events;
class ServerBackend;

namespace detail {

struct ServerShared {
    ServerShared(ServerBackend& b, Events& e) : backend(&b), events(&e) {}

    ServerBackend* backend;
    Events* events;
    // Set once, on the main thread, when the server goes away; never cleared.
    std::atomic<bool> stopping = false;
    std::atomic<bool> writeToFile = false;
    std::atomic<int> connections = 0;
    std::atomic<long long> readTimeoutMs = 10000;
    std::atomic<long long> pollIntervalMs = 300;

    mutable std::mutex folderMutex;
    std::filesystem::path folder;  // empty: the process's current folder

    // Used on the main thread only.
    std::function<void(const std::string&)> reporter;

    std::filesystem::path workingFolder() const;
};

class Connection final : public QRunnable {
public:
    Connection(std::shared_ptr<ServerShared> shared, qintptr descriptor);
    ~Connection() override;
    void run() override;

private:
    void serve(QTcpSocket& socket);
    std::string readRequest(QTcpSocket& socket);
    void faceletRequest(QTcpSocket& socket, const std::string& path);
    void sendFile(QTcpSocket& socket, const std::string& path);
    void send(QTcpSocket& socket, const std::string& answer);
    bool flush(QTcpSocket& socket);
    void finish(QTcpSocket& socket);
    void sleep(std::chrono::milliseconds duration);
    void report(const std::string& message);
    void checkStopping() const;

    // Runs fn on the main thread and waits for its result; gives up when the server stops.
    template <class Fn>
    auto onMain(Fn fn) -> decltype(fn(std::declval<ServerBackend&>()));
    template <class Fn>
    void postMain(Fn fn);

    std::shared_ptr<ServerShared> shared_;
    qintptr descriptor_;
    std::chrono::milliseconds readTimeout_;
    std::chrono::milliseconds pollInterval_;
    std::filesystem::path folder_;
};

}  // namespace detail
}  // namespace tx
