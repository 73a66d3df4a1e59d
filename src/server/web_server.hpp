#pragma once
// The HTTP listener. It accepts connections on the main thread and serves each one on a
// thread of its own: one read of the request (at most 5001 bytes, 10 s time-out), the path
// matched against the request table, the work that touches the program handed to the main
// thread through Events, and one answer. Threads come from a cache of 40 that are kept for
// reuse; when all 40 are serving, extra connections get threads that end with them, up to
// kMaxConnections at once (further ones wait for a free thread).
//
// Every method is called on the main thread. The backend and the events object must outlive
// the server; the destructor stops listening, makes waiting connections give up and waits
// for every connection thread to end.
#include <QHostAddress>
#include <QObject>
#include <QString>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

class QTcpServer;
class QThreadPool;

namespace tx {

class Events;
class ServerBackend;
namespace detail {
struct ServerShared;
}

class WebServer : public QObject {
    Q_OBJECT
public:
    static constexpr int kDefaultPort = 8080;
    static constexpr std::chrono::milliseconds kReadTimeout{10000};
    static constexpr std::chrono::milliseconds kPollInterval{300};
    static constexpr int kCachedThreads = 40;
    static constexpr int kMaxConnections = 256;

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
    void setWriteToFile(bool on);
    bool writeToFile() const;
    // The folder files are served from and the answer file is written to; the current
    // folder of the process when it is opened, unless set.
    void setWorkingFolder(const std::filesystem::path& folder);
    std::filesystem::path workingFolder() const;

    // Time-outs, for tests; they apply to connections accepted afterwards.
    void setReadTimeout(std::chrono::milliseconds timeout);
    std::chrono::milliseconds readTimeout() const;
    void setPollInterval(std::chrono::milliseconds interval);
    std::chrono::milliseconds pollInterval() const;

    // Failures of the server itself while serving a request (not of the client): the
    // message is handed to `report` on the main thread, except messages containing "64".
    void setErrorReporter(std::function<void(const std::string&)> report);

    // Opens the listener; false when it cannot (errorString() says why). Opening an open
    // listener closes it first.
    bool open();
    // Stops listening; connections already accepted are served to the end.
    void close();
    bool isOpen() const;
    quint16 listeningPort() const;
    QString errorString() const;

    // Connections accepted and not yet ended.
    int connectionCount() const;

private:
    void accept(qintptr descriptor);

    std::shared_ptr<detail::ServerShared> shared_;
    std::unique_ptr<QTcpServer> listener_;
    std::unique_ptr<QThreadPool> cache_;     // kCachedThreads threads, kept for reuse
    std::unique_ptr<QThreadPool> overflow_;  // threads that end with their connection
    QHostAddress address_ = QHostAddress::Any;
    int port_ = kDefaultPort;
    QString error_;
};

}  // namespace tx
