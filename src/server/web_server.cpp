#include "server/web_server.hpp"

#include <QTcpServer>
#include <QThreadPool>

#include "server/connection.hpp"

namespace tx {
namespace {

// Hands every accepted descriptor to the server, which serves it on a thread of its own.
class Listener final : public QTcpServer {
public:
    explicit Listener(std::function<void(qintptr)> onAccept) : onAccept_(std::move(onAccept)) {}

protected:
    void incomingConnection(qintptr descriptor) override { onAccept_(descriptor); }

private:
    std::function<void(qintptr)> onAccept_;
};

}  // namespace

WebServer::WebServer(ServerBackend& backend, Events& events, QObject* parent)
    : QObject(parent),
      shared_(std::make_shared<detail::ServerShared>(backend, events)),
      listener_(std::make_unique<Listener>([this](qintptr d) { accept(d); })),
      cache_(std::make_unique<QThreadPool>()),
      overflow_(std::make_unique<QThreadPool>()) {
    cache_->setMaxThreadCount(kCachedThreads);
    cache_->setExpiryTimeout(-1);  // a cached thread waits for the next connection
    overflow_->setMaxThreadCount(kMaxConnections - kCachedThreads);
    overflow_->setExpiryTimeout(0);  // an extra thread ends with its connection
    listener_->setListenBacklogSize(128);
}

WebServer::~WebServer() {
    shared_->stopping = true;  // waiting connections give up, posted work is skipped
    listener_->close();
    cache_->clear();
    overflow_->clear();
    cache_->waitForDone();
    overflow_->waitForDone();
}

void WebServer::setWriteToFile(bool on) { shared_->writeToFile = on; }
bool WebServer::writeToFile() const { return shared_->writeToFile; }

void WebServer::setWorkingFolder(const std::filesystem::path& folder) {
    std::lock_guard lock(shared_->folderMutex);
    shared_->folder = folder;
}

std::filesystem::path WebServer::workingFolder() const { return shared_->workingFolder(); }

void WebServer::setReadTimeout(std::chrono::milliseconds timeout) { shared_->readTimeoutMs = timeout.count(); }
std::chrono::milliseconds WebServer::readTimeout() const {
    return std::chrono::milliseconds(shared_->readTimeoutMs.load());
}

void WebServer::setPollInterval(std::chrono::milliseconds interval) {
    shared_->pollIntervalMs = interval.count();
}
std::chrono::milliseconds WebServer::pollInterval() const {
    return std::chrono::milliseconds(shared_->pollIntervalMs.load());
}

void WebServer::setErrorReporter(std::function<void(const std::string&)> report) {
    shared_->reporter = std::move(report);
}

bool WebServer::open() {
    close();
    error_.clear();
    if (port_ < 0 || port_ > 65535) {
        error_ = QStringLiteral("Invalid port %1").arg(port_);
        return false;
    }
    if (!listener_->listen(address_, quint16(port_))) {
        error_ = listener_->errorString();
        return false;
    }
    return true;
}

void WebServer::close() {
    if (listener_->isListening()) listener_->close();
}

bool WebServer::isOpen() const { return listener_->isListening(); }

quint16 WebServer::listeningPort() const { return listener_->isListening() ? listener_->serverPort() : 0; }

QString WebServer::errorString() const { return error_; }

int WebServer::connectionCount() const { return shared_->connections; }

void WebServer::accept(qintptr descriptor) {
    auto* connection = new detail::Connection(shared_, descriptor);
    if (!cache_->tryStart(connection)) overflow_->start(connection);
}

}  // namespace tx
