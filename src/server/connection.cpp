#include "server/connection.hpp"

#include <QFile>
#include <QTcpSocket>

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <exception>
#include <optional>
#include <thread>
#include <utility>

#include "platform/atomic_file.hpp"
#include "platform/events.hpp"
#include "server/request.hpp"
#include "server/server_backend.hpp"

namespace tx::detail {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Waits are cut into slices this long so a stopping server is noticed quickly.
constexpr milliseconds kSlice{50};
// After the answer, what the client still sends is read and dropped for this long (and up
// to this much), so closing does not reset the connection before the client has read it.
constexpr milliseconds kLingerTime{1000};
constexpr qint64 kLingerBytes = 1 << 20;
constexpr qint64 kFileChunk = 64 * 1024;
// The socket buffers at most this much of what the client sends, however much it sends.
constexpr qint64 kReadBuffer = 64 * 1024;

// Thrown inside a connection when the server is going away; ends it without an answer.
struct Stopped {};

// The lock of the answer file, one for the whole process.
std::mutex& answerFileLock() {
    static std::mutex lock;
    return lock;
}

void writeAnswerFile(const std::filesystem::path& folder, const std::string& text) {
    std::lock_guard lock(answerFileLock());
    // Replaced whole, so a reader never sees half an answer.
    writeFileAtomically(folder / std::string(http::kAnswerFileName), text);
}

milliseconds remaining(Clock::time_point deadline) {
    return std::chrono::duration_cast<milliseconds>(deadline - Clock::now());
}

int waitMs(milliseconds wait) {
    return int(std::clamp(wait, milliseconds(1), kSlice).count());
}

// The request line is complete once "HTTP" follows "GET", a line ends, a zero byte came or
// the size limit is reached; a request sent in one piece is thus read in one go.
bool requestComplete(const std::string& data) {
    if (data.size() >= http::kMaxRequestBytes) return true;
    if (data.find('\0') != std::string::npos || data.find('\n') != std::string::npos) return true;
    const auto g = data.find("GET");
    return g != std::string::npos && data.find("HTTP", g + 3) != std::string::npos;
}

// The client is still there: the socket is open and the peer has neither closed nor reset
// its side.
bool stillConnected(QTcpSocket& socket) {
    if (socket.state() != QAbstractSocket::ConnectedState) return false;
    char byte;
    const auto n = ::recv(int(socket.socketDescriptor()), &byte, 1, MSG_PEEK | MSG_DONTWAIT);
    if (n == 0) return false;
    return n > 0 || errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
}

}  // namespace

std::filesystem::path ServerShared::workingFolder() const {
    std::lock_guard lock(folderMutex);
    if (!folder.empty()) return folder;
    std::error_code ec;
    auto current = std::filesystem::current_path(ec);
    return ec ? std::filesystem::path(".") : current;
}

Connection::Connection(std::shared_ptr<ServerShared> shared, qintptr descriptor)
    : shared_(std::move(shared)),
      descriptor_(descriptor),
      readTimeout_(shared_->readTimeoutMs.load()),
      pollInterval_(shared_->pollIntervalMs.load()),
      folder_(shared_->workingFolder()) {
    setAutoDelete(true);
    ++shared_->connections;
}

Connection::~Connection() {
    if (descriptor_ >= 0) ::close(int(descriptor_));  // dropped before it was served
    --shared_->connections;
}

void Connection::run() {
    QTcpSocket socket;
    socket.setReadBufferSize(kReadBuffer);
    const bool adopted = socket.setSocketDescriptor(descriptor_);
    if (!adopted) return;  // the destructor closes the descriptor
    descriptor_ = -1;      // the socket owns it now
    try {
        serve(socket);
    } catch (const Stopped&) {
    } catch (const std::exception& e) {
        report(e.what());
    } catch (...) {
        report("Unexpected error while serving a web request.");
    }
    socket.abort();
}

void Connection::checkStopping() const {
    if (shared_->stopping) throw Stopped{};
}

template <class Fn>
auto Connection::onMain(Fn fn) -> decltype(fn(std::declval<ServerBackend&>())) {
    using Result = decltype(fn(std::declval<ServerBackend&>()));
    struct Call {
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
        std::optional<Result> value;
        std::exception_ptr error;
    };
    auto call = std::make_shared<Call>();
    // The closure owns everything it touches, so it is harmless if it runs after this
    // connection gave up; on a stopping server it does nothing.
    shared_->events->post([call, shared = shared_, fn = std::move(fn)]() mutable {
        std::optional<Result> value;
        std::exception_ptr error;
        if (shared->stopping) {
            error = std::make_exception_ptr(Stopped{});
        } else {
            try {
                value.emplace(fn(*shared->backend));
            } catch (...) {
                error = std::current_exception();
            }
        }
        std::lock_guard lock(call->mutex);
        call->value = std::move(value);
        call->error = error;
        call->finished = true;
        call->done.notify_all();
    });
    std::unique_lock lock(call->mutex);
    while (!call->finished) {
        checkStopping();
        call->done.wait_for(lock, kSlice);
    }
    if (call->error) std::rethrow_exception(call->error);
    return std::move(*call->value);
}

template <class Fn>
void Connection::postMain(Fn fn) {
    shared_->events->post([shared = shared_, fn = std::move(fn)]() mutable {
        if (shared->stopping) return;
        try {
            fn(*shared->backend);
        } catch (...) {
            // A posted request has no one to answer to; the program stays up.
        }
    });
}

void Connection::report(const std::string& message) {
    shared_->events->post([shared = shared_, message] {
        if (shared->stopping || !shared->reporter) return;
        if (message.find("64") != std::string::npos) return;
        shared->reporter(message);
    });
}

void Connection::sleep(milliseconds duration) {
    const auto until = Clock::now() + duration;
    for (auto left = remaining(until); left.count() > 0; left = remaining(until)) {
        checkStopping();
        std::this_thread::sleep_for(std::min(left, kSlice));
    }
    checkStopping();
}

std::string Connection::readRequest(QTcpSocket& socket) {
    std::string data;
    const auto deadline = Clock::now() + readTimeout_;
    for (;;) {
        if (socket.bytesAvailable() > 0) {
            const QByteArray chunk = socket.read(qint64(http::kMaxRequestBytes - data.size()));
            data.append(chunk.constData(), std::size_t(chunk.size()));
            if (requestComplete(data)) break;
            continue;
        }
        if (socket.state() != QAbstractSocket::ConnectedState) break;  // the peer closed
        const auto left = remaining(deadline);
        if (left.count() <= 0) break;
        checkStopping();
        socket.waitForReadyRead(waitMs(left));
    }
    return data;
}

void Connection::serve(QTcpSocket& socket) {
    const std::string raw = readRequest(socket);
    if (raw.empty()) return;  // nothing within the time-out, or the peer closed: no answer
    const std::string path = http::extractPath(http::requestText(raw));
    const http::RequestKind kind = http::classify(path);
    if (kind == http::RequestKind::Empty) return send(socket, http::refusalAnswer());
    if (onMain([](ServerBackend& b) { return b.busy(); })) return send(socket, http::refusalAnswer());

    using http::RequestKind;
    switch (kind) {
    case RequestKind::Empty:
        break;
    case RequestKind::File:
        return sendFile(socket, path);
    case RequestKind::GetLast:
        return send(socket, http::htmlAnswer(onMain([](ServerBackend& b) { return b.lastResult(); })));
    case RequestKind::Status:
        return send(socket, http::htmlAnswer(onMain([](ServerBackend& b) { return b.webcamStatus(); })));
    case RequestKind::Connect: {
        const auto device = http::connectDeviceIndex(path);
        if (!device) return send(socket, http::htmlAnswer(http::kNoDeviceIndexText));
        postMain([d = *device](ServerBackend& b) { b.selectCaptureDevice(d); });
        return send(socket, http::doneAnswer());
    }
    case RequestKind::Clear:
        onMain([](ServerBackend& b) {
            b.clearList();
            return true;
        });
        return send(socket, http::doneAnswer());
    case RequestKind::Scan: {
        const auto face = http::scanFace(path);
        if (!face) return send(socket, http::htmlAnswer(http::kWrongCommandText));
        return send(socket, http::htmlAnswer(onMain([f = *face](ServerBackend& b) { return b.scan(f); })));
    }
    case RequestKind::Transfer:
        return send(socket, http::htmlAnswer(onMain([](ServerBackend& b) { return b.transfer(); })));
    case RequestKind::Facelets:
        return faceletRequest(socket, path);
    }
}

void Connection::faceletRequest(QTcpSocket& socket, const std::string& path) {
    const FaceletSubmission submission = onMain([path](ServerBackend& b) { return b.submit(path); });
    if (!submission.accepted()) return send(socket, http::htmlAnswer(submission.error));

    // The backend hears once that this handle is no longer needed, however the wait ends.
    struct Release {
        Connection* connection;
        std::uint64_t handle;
        bool pending = true;
        void now() {
            if (!std::exchange(pending, false)) return;
            connection->postMain([h = handle](ServerBackend& b) { b.release(h); });
        }
        ~Release() { now(); }
    } release{this, submission.handle};

    std::string result;
    for (;;) {
        sleep(pollInterval_);
        auto polled = onMain([h = submission.handle](ServerBackend& b) { return b.poll(h); });
        if (polled) {
            result = std::move(*polled);
            break;
        }
    }
    release.now();
    if (shared_->writeToFile) writeAnswerFile(folder_, result);
    send(socket, http::htmlAnswer(result));
}

void Connection::sendFile(QTcpSocket& socket, const std::string& path) {
    const auto file = http::resolveFacesFile(folder_, path);
    if (!file) return send(socket, http::refusalAnswer());
    QFile in(QString::fromStdString(file->string()));
    if (!in.open(QIODevice::ReadOnly)) return send(socket, http::refusalAnswer());
    if (!stillConnected(socket)) return;
    const std::string header = http::fileAnswerHeader();
    socket.write(header.data(), qint64(header.size()));
    if (!flush(socket)) return;
    for (;;) {
        const QByteArray chunk = in.read(kFileChunk);
        if (chunk.isEmpty()) break;
        socket.write(chunk);
        if (!flush(socket)) return;
    }
    finish(socket);
}

void Connection::send(QTcpSocket& socket, const std::string& answer) {
    if (!stillConnected(socket)) return;  // the client left: nobody to answer
    socket.write(answer.data(), qint64(answer.size()));
    if (flush(socket)) finish(socket);
}

// Pushes the written bytes to the client; false when it is gone or takes too long.
bool Connection::flush(QTcpSocket& socket) {
    const auto deadline = Clock::now() + readTimeout_;
    while (socket.bytesToWrite() > 0) {
        if (socket.state() != QAbstractSocket::ConnectedState) return false;
        const auto left = remaining(deadline);
        if (left.count() <= 0) return false;
        checkStopping();
        socket.waitForBytesWritten(waitMs(left));
    }
    return socket.state() == QAbstractSocket::ConnectedState;
}

// Ends the answer: no more bytes from this side, then what the client still sends is read
// and dropped until it closes, so the answer is not lost to a reset.
void Connection::finish(QTcpSocket& socket) {
    if (socket.state() != QAbstractSocket::ConnectedState) return;
    ::shutdown(int(socket.socketDescriptor()), SHUT_WR);
    const auto until = Clock::now() + kLingerTime;
    qint64 dropped = 0;
    while (socket.state() == QAbstractSocket::ConnectedState && dropped < kLingerBytes &&
           !shared_->stopping) {
        if (socket.bytesAvailable() > 0) {
            dropped += socket.read(kFileChunk).size();
            continue;
        }
        const auto left = remaining(until);
        if (left.count() <= 0) break;
        socket.waitForReadyRead(waitMs(left));
    }
}

}  // namespace tx::detail
