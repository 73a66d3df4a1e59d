#include "server/web_server.hpp"

#include <QPointer>
#include <QTcpServer>
#include <QTimer>

#include <dirent.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

namespace tx {
namespace {

// Hands every accepted descriptor to the server.
class Listener final : public QTcpServer {
public:
    explicit Listener(std::function<void(qintptr)> onAccept) : onAccept_(std::move(onAccept)) {}

protected:
    void incomingConnection(qintptr descriptor) override { onAccept_(descriptor); }

private:
    std::function<void(qintptr)> onAccept_;
};

long openDescriptors() {
    DIR* dir = ::opendir("/proc/self/fd");
    if (!dir) return WebServer::kReservedDescriptors;
    long n = 0;
    while (const dirent* e = ::readdir(dir))
        if (e->d_name[0] != '.') ++n;
    ::closedir(dir);
    return n;
}

// Half of the descriptors left under the limit: a connection may hold a socket and a file.
int descriptorBudget() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return 1 << 20;
    const long left = static_cast<long>(limit.rlim_cur) - openDescriptors() - WebServer::kReservedDescriptors;
    return static_cast<int>(std::max(1L, left / 2));
}

std::string peerAddress(int fd) {
    sockaddr_storage peer{};
    socklen_t size = sizeof peer;
    if (::getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &size) != 0) return "unknown";
    QHostAddress address(reinterpret_cast<const sockaddr*>(&peer));
    bool mapped = false;
    const quint32 v4 = address.toIPv4Address(&mapped);
    if (mapped) address = QHostAddress(v4);  // an IPv4 client on an IPv6 socket is the same client
    return address.toString().toStdString();
}

}  // namespace

WebServer::WebServer(ServerBackend& backend, Events& events, QObject* parent)
    : QObject(parent), core_(backend, events), listener_(std::make_unique<Listener>([this](qintptr d) { accept(d); })) {
    listener_->setListenBacklogSize(1024);
    // Out of descriptors the listener pauses; it tries again shortly instead of giving up.
    connect(listener_.get(), &QTcpServer::acceptError, this, [this](QAbstractSocket::SocketError) {
        if (core_.logger) core_.logger("accepting a connection failed: " + listener_->errorString().toStdString());
        QTimer::singleShot(100, this, [this] { listener_->resumeAccepting(); });
    });
}

WebServer::~WebServer() {
    listener_->close();
    *core_.alive = false;  // posted work is dropped from now on
    const std::list<detail::Connection*> open = connections_;
    for (detail::Connection* c : open) c->serverStopped();
    // Ended connections are children of this object and go with it.
}

bool WebServer::open() {
    close();
    error_.clear();
    if (port_ < 0 || port_ > 65535) {
        error_ = QStringLiteral("Invalid port %1").arg(port_);
        return false;
    }
    connectionLimit_ = std::max(1, std::min(limits_.connections, descriptorBudget()));
    rate_.setLimits(std::max(limits_.perAddress, limits_.newPerSecond), limits_.newPerSecond);
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

void WebServer::accept(qintptr descriptor) {
    // Every turn of the event loop looks at every open connection, so a client connecting in a
    // loop must not buy one turn per connection: after a round of accepts the listener rests
    // for kAcceptPause and the next round takes what queued meanwhile.
    if (!acceptPaused_) {
        acceptPaused_ = true;
        listener_->pauseAccepting();
        QTimer::singleShot(kAcceptPause, this, [this] {
            acceptPaused_ = false;
            if (listener_->isListening()) listener_->resumeAccepting();
        });
    }
    const int fd = static_cast<int>(descriptor);
    const std::string address = peerAddress(fd);
    if (!rate_.take(address, detail::Connection::Clock::now())) return refuseTooFast(fd, address);
    if (perAddress_[address] >= limits_.perAddress &&
        !evictOldestIdle(&address, "closed for a newer connection from the same address"))
        return refuse(fd, address, "too many connections from this address");
    if (connectionCount() >= connectionLimit_ && !evictOldestIdle(nullptr, "closed for a newer connection"))
        return refuse(fd, address, "too many connections");
    auto* c = new detail::Connection(*this, fd, address, this);
    connections_.push_back(c);
    ++perAddress_[address];
    c->start();
}

// Closes the oldest connection (of `address`, when given) that is still sending its request
// and has had kEvictAfter for it; false when there is none.
bool WebServer::evictOldestIdle(const std::string* address, const std::string& why) {
    const auto now = detail::Connection::Clock::now();
    // Reading a candidate may serve it and end it, which changes connections_: pick first.
    std::vector<QPointer<detail::Connection>> candidates;
    for (detail::Connection* c : connections_)
        if (c->state() == detail::Connection::State::Reading && now - c->acceptedAt() >= kEvictAfter &&
            (!address || c->address() == *address))
            candidates.emplace_back(c);
    for (const auto& c : candidates) {
        // A client whose request waits unread is not idle: it is served instead.
        if (!c || !c->stillReading()) continue;
        c->evict(why);
        return true;
    }
    return false;
}

void WebServer::refuse(int descriptor, const std::string& address, const std::string& why) {
    ::close(descriptor);
    if (perAddress_[address] == 0) perAddress_.erase(address);
    if (!core_.logger) return;
    http::RequestRecord record;
    record.time = std::chrono::system_clock::now();
    record.address = address;
    record.result = "no answer: refused, " + why;
    core_.logger(http::logLine(record));
}

// One log line a second per address for these: a client reconnecting in a loop would
// otherwise fill the log.
void WebServer::refuseTooFast(int descriptor, const std::string& address) {
    ::close(descriptor);
    const long count = rate_.refusalToLog(address, detail::Connection::Clock::now());
    if (count < 0 || !core_.logger) return;
    http::RequestRecord record;
    record.time = std::chrono::system_clock::now();
    record.address = address;
    record.result = "no answer: refused, too many new connections from this address";
    if (count > 1) record.result += " (" + std::to_string(count) + " since the last such line)";
    core_.logger(http::logLine(record));
}

bool WebServer::takeSearchPlace(detail::Connection& c) {
    if (static_cast<int>(searching_.size()) < limits_.searches && searchQueue_.empty()) {
        startSearching(c);
        return true;
    }
    searchQueue_.push_back(&c);
    return false;
}

void WebServer::leaveSearchPlace(detail::Connection& c) {
    if (!stopSearching(c)) {
        std::erase(searchQueue_, &c);
        return;
    }
    // The next in line starts from the event loop, not from inside this connection's turn.
    if (!searchQueue_.empty()) QMetaObject::invokeMethod(this, [this] { promote(); }, Qt::QueuedConnection);
}

void WebServer::startSearching(detail::Connection& c) {
    searching_.insert(&c);
    ++searchingFrom_[c.address()];
}

bool WebServer::stopSearching(detail::Connection& c) {
    if (searching_.erase(&c) == 0) return false;
    const auto it = searchingFrom_.find(c.address());
    if (it != searchingFrom_.end() && --it->second <= 0) searchingFrom_.erase(it);
    return true;
}

// A free place goes to the first in line whose address holds fewer than a quarter of the
// places, else to the first in line: many requests from one client cannot keep the others
// waiting behind all of them.
void WebServer::promote() {
    const int share = std::max(1, limits_.searches / 4);
    while (static_cast<int>(searching_.size()) < limits_.searches && !searchQueue_.empty()) {
        auto next = std::find_if(searchQueue_.begin(), searchQueue_.end(), [&](detail::Connection* c) {
            const auto it = searchingFrom_.find(c->address());
            return it == searchingFrom_.end() || it->second < share;
        });
        if (next == searchQueue_.end()) next = searchQueue_.begin();
        detail::Connection* c = *next;
        searchQueue_.erase(next);
        startSearching(*c);
        c->startSearch();
    }
}

void WebServer::ended(detail::Connection& c) {
    connections_.remove(&c);
    const auto it = perAddress_.find(c.address());
    if (it != perAddress_.end() && --it->second <= 0) perAddress_.erase(it);
    std::erase(searchQueue_, &c);
    if (stopSearching(c) && !searchQueue_.empty())
        QMetaObject::invokeMethod(this, [this] { promote(); }, Qt::QueuedConnection);
    c.deleteLater();
}

}  // namespace tx
