#include "server/connection.hpp"

#include <QSocketNotifier>
#include <QTimer>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>

#include "platform/events.hpp"
#include "server/answer_file.hpp"
#include "server/server_backend.hpp"

namespace tx::detail {
namespace {

using std::chrono::milliseconds;

// After the answer, what the client still sends is read and dropped for this long, so closing
// does not reset the connection before the client has read the answer.
constexpr milliseconds kLingerTime{1000};
// A client that sends more than this in all is cut off, whatever it asked: a request is at
// most 5001 bytes, and reading megabytes only to drop them would cost the other clients.
constexpr std::size_t kMaxInput = 64 * 1024;
constexpr std::size_t kFileChunk = 64 * 1024;

// The request line is complete once "HTTP" follows "GET", a line ends, a zero byte came or
// the size limit is reached; a request sent in one piece is thus read in one go.
bool requestComplete(const std::string& data) {
    if (data.size() >= http::kMaxRequestBytes) return true;
    if (data.find('\0') != std::string::npos || data.find('\n') != std::string::npos) return true;
    const auto g = data.find("GET");
    return g != std::string::npos && data.find("HTTP", g + 3) != std::string::npos;
}

std::string seconds(milliseconds ms) {
    const auto s = ms.count() / 1000.0;
    char text[32];
    std::snprintf(text, sizeof text, "%g s", s);
    return text;
}

// An answer text as the log shows it: the number of moves of a maneuver, otherwise the text.
std::string resultOf(const std::string& body) {
    const bool maneuver = !body.empty() && body.find_first_not_of("URFDLBEMSxyzsa'23 ") == std::string::npos;
    return maneuver ? http::movesResult(body) : http::quotedResult(body);
}

}  // namespace

std::filesystem::path ServerCore::workingFolder() const {
    if (!folder.empty()) return folder;
    std::error_code ec;
    auto current = std::filesystem::current_path(ec);
    return ec ? std::filesystem::path(".") : current;
}

void ServerCore::report(const std::string& message) const {
    if (message.find("64") != std::string::npos) return;
    events->post([alive = alive, reporter = reporter, message] {
        if (*alive && reporter) reporter(message);
    });
}

// Every way into a connection (socket, timers, the server) goes through a Turn; the server
// hears that the connection ended only when the outermost turn is over, so a connection is
// never deleted while one of its handlers is still on the stack (calls into the program may
// run the event loop).
class Connection::Turn {
public:
    explicit Turn(Connection& c) : c_(c) { ++c_.depth_; }
    ~Turn() {
        if (--c_.depth_ == 0 && c_.state_ == State::Closed && !c_.toldHost_) {
            c_.toldHost_ = true;
            c_.host_.ended(c_);
        }
    }
    Turn(const Turn&) = delete;
    Turn& operator=(const Turn&) = delete;

private:
    Connection& c_;
};

Connection::Connection(ConnectionHost& host, int descriptor, std::string address, QObject* parent)
    : QObject(parent),
      host_(host),
      core_(host.core()),
      fd_(descriptor),
      deadline_(new QTimer(this)),
      poll_(new QTimer(this)) {
    record_.time = std::chrono::system_clock::now();
    record_.address = std::move(address);
    deadline_->setSingleShot(true);
    deadline_->setTimerType(Qt::PreciseTimer);  // a coarse timer may fire a little early
    connect(deadline_, &QTimer::timeout, this, [this] { onDeadline(); });
    connect(poll_, &QTimer::timeout, this, [this] { onPoll(); });
}

Connection::~Connection() {
    if (fd_ >= 0) ::close(fd_);
    if (file_ >= 0) ::close(file_);
}

void Connection::start() {
    ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) | O_NONBLOCK);
    readable_ = std::make_unique<QSocketNotifier>(qintptr(fd_), QSocketNotifier::Read);
    writable_ = std::make_unique<QSocketNotifier>(qintptr(fd_), QSocketNotifier::Write);
    writable_->setEnabled(false);
    connect(readable_.get(), &QSocketNotifier::activated, this, [this] { onReadable(); });
    connect(writable_.get(), &QSocketNotifier::activated, this, [this] { onWritable(); });
    armDeadline(core_.readTimeout);
}

void Connection::armDeadline(milliseconds in) { deadline_->start(int(std::max<long long>(in.count(), 1))); }

void Connection::onReadable() {
    Turn turn(*this);
    receive();
}

void Connection::onWritable() {
    Turn turn(*this);
    if (state_ == State::Sending) pushOut();
}

// Reads what the socket holds: the request while Reading, later only to drop it and to see
// the client leave.
bool Connection::receive() {
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
        if (n > 0) {
            received_ += std::size_t(n);
            if (state_ == State::Reading) {
                const std::size_t room = http::kMaxRequestBytes - request_.size();
                request_.append(buffer, std::min(room, std::size_t(n)));
                if (requestComplete(request_)) process();
            }
            if (state_ == State::Closed) return false;
            if (received_ > kMaxInput) {
                // Answered already: the answer stands; otherwise the client gets none.
                if (state_ == State::Lingering) close(record_.result);
                else gone("the client sent more than 64 KiB");
                return false;
            }
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
        const std::string why = n == 0 ? "the client closed the connection" : std::strerror(errno);
        if (state_ == State::Lingering) close(record_.result);
        else if (state_ == State::Sending) close(record_.result + "; not delivered: " + why);
        else gone(why);
        return false;
    }
}

void Connection::onDeadline() {
    Turn turn(*this);
    switch (state_) {
    case State::Reading:
        if (request_.empty()) return close("no answer: no request within " + seconds(core_.readTimeout));
        return process();  // what came within the time is the request
    case State::Sending:
        return close(record_.result + "; not delivered: not taken within " + seconds(core_.readTimeout));
    case State::Lingering:
        return close(record_.result);
    default:
        return;
    }
}

bool Connection::guarded(const std::function<void()>& call) {
    try {
        call();
        return state_ != State::Closed;
    } catch (const std::exception& e) {
        core_.report(e.what());
        close(std::string("no answer: server error: ") + e.what());
    } catch (...) {
        core_.report("Unexpected error while serving a web request.");
        close("no answer: server error");
    }
    return false;
}

void Connection::process() {
    state_ = State::Working;
    deadline_->stop();
    // While the program handles the request, the socket is not watched: calls into the program
    // may run the event loop, and this handler must not run again inside them.
    readable_->setEnabled(false);
    path_ = http::extractPath(http::requestText(request_));
    const http::RequestKind kind = http::classify(path_);
    record_.kind = http::kindName(kind);
    if (kind == http::RequestKind::Facelets) record_.subject = http::logSubject(http::faceletLetters(path_));
    else if (kind == http::RequestKind::File) record_.subject = http::logSubject(path_);
    dispatch(kind);
    if (state_ != State::Closed) readable_->setEnabled(true);
}

void Connection::dispatch(http::RequestKind kind) {
    using http::RequestKind;
    if (kind == RequestKind::Empty) return answer(http::refusalAnswer(), "refused: invalid request");
    bool busy = false;
    if (!guarded([&] { busy = core_.backend->busy(); })) return;
    if (busy) return answer(http::refusalAnswer(), "refused: busy");
    std::string text;
    auto ask = [&](const std::function<std::string()>& call) { return guarded([&] { text = call(); }); };
    ServerBackend& b = *core_.backend;
    switch (kind) {
    case RequestKind::Empty:
        return;
    case RequestKind::File:
        return answerFile();
    case RequestKind::GetLast:
        if (ask([&] { return b.lastResult(); })) answer(http::htmlAnswer(text), resultOf(text));
        return;
    case RequestKind::Status:
        if (ask([&] { return b.webcamStatus(); })) answer(http::htmlAnswer(text), resultOf(text));
        return;
    case RequestKind::Connect: {
        const auto device = http::connectDeviceIndex(path_);
        if (!device) return answer(http::htmlAnswer(http::kNoDeviceIndexText), resultOf(std::string(http::kNoDeviceIndexText)));
        // Selecting a device is posted, as the window message it stands for.
        core_.events->post([alive = core_.alive, backend = &b, d = *device] {
            if (*alive) backend->selectCaptureDevice(d);
        });
        return answer(http::doneAnswer(), resultOf(std::string(http::kDoneText)));
    }
    case RequestKind::Clear:
        if (guarded([&] { b.clearList(); })) answer(http::doneAnswer(), resultOf(std::string(http::kDoneText)));
        return;
    case RequestKind::Scan: {
        const auto face = http::scanFace(path_);
        if (!face) return answer(http::htmlAnswer(http::kWrongCommandText), resultOf(std::string(http::kWrongCommandText)));
        if (ask([&] { return b.scan(*face); })) answer(http::htmlAnswer(text), resultOf(text));
        return;
    }
    case RequestKind::Transfer:
        if (ask([&] { return b.transfer(); })) answer(http::htmlAnswer(text), resultOf(text));
        return;
    case RequestKind::Facelets:
        state_ = State::Queued;
        if (host_.takeSearchPlace(*this)) submit();
        return;
    }
}

void Connection::startSearch() {
    Turn turn(*this);
    if (state_ == State::Queued) submit();
}

void Connection::submit() {
    state_ = State::Working;
    readable_->setEnabled(false);
    FaceletSubmission s;
    const bool ok = guarded([&] { s = core_.backend->submit(path_); });
    if (!ok || !s.accepted() || state_ == State::Closed) {
        // The client may have gone while its cube was added: its entry goes too.
        if (s.accepted()) guarded([&] { core_.backend->abandon(s.handle); });
        host_.leaveSearchPlace(*this);
        if (ok && state_ != State::Closed) answer(http::htmlAnswer(s.error), "error: " + resultOf(s.error));
        return;
    }
    handle_ = s.handle;
    state_ = State::Searching;
    readable_->setEnabled(true);
    poll_->start(int(std::max<long long>(core_.pollInterval.count(), 1)));
}

void Connection::onPoll() {
    Turn turn(*this);
    if (state_ != State::Searching || !handle_) return;
    std::optional<std::string> result;
    if (!guarded([&] { result = core_.backend->poll(*handle_); }) || !result) return;
    poll_->stop();
    const std::uint64_t handle = *handle_;
    handle_.reset();
    host_.leaveSearchPlace(*this);
    if (!guarded([&] { core_.backend->release(handle); })) return;
    const bool removed = *result == http::kEntryRemovedText;
    if (core_.writeToFile && !removed) {
        const std::string error = writeAnswerFile(core_.workingFolder(), *result);
        if (!error.empty()) core_.report(error);
    }
    answer(http::htmlAnswer(*result), removed ? "error: " + resultOf(*result) : resultOf(*result));
}

// The client left (or misbehaved) before its answer: its search and entry go with it.
void Connection::gone(const std::string& why) {
    if (state_ == State::Closed) return;
    readable_->setEnabled(false);
    poll_->stop();
    if (handle_) {
        const std::uint64_t handle = *handle_;
        handle_.reset();
        host_.leaveSearchPlace(*this);
        try {
            core_.backend->abandon(handle);
        } catch (const std::exception& e) {
            core_.report(e.what());
        }
    } else if (state_ == State::Queued) {
        host_.leaveSearchPlace(*this);
    }
    close("no answer: " + why);
}

bool Connection::stillReading() {
    Turn turn(*this);
    if (state_ == State::Reading) receive();
    return state_ == State::Reading;
}

void Connection::evict(const std::string& why) {
    Turn turn(*this);
    if (state_ == State::Reading) close("no answer: " + why);
}

void Connection::serverStopped() {
    Turn turn(*this);
    if (state_ == State::Closed) return;
    poll_->stop();
    if (handle_) {
        const std::uint64_t handle = *handle_;
        handle_.reset();
        try {
            core_.backend->release(handle);
        } catch (...) {
            // The server is going away; nothing is left to tell.
        }
    }
    close("no answer: the server stopped");
}

void Connection::answer(std::string bytes, std::string result) {
    if (state_ == State::Closed) return;
    record_.result = std::move(result);
    out_ = std::move(bytes);
    sent_ = 0;
    state_ = State::Sending;
    armDeadline(core_.readTimeout);
    pushOut();
}

void Connection::answerFile() {
    const auto file = http::resolveFacesFile(core_.workingFolder(), path_);
    // Never waits: a FIFO put in place of the file after the check is refused, not read.
    file_ = file ? ::open(file->c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW) : -1;
    struct stat st {};
    if (file_ >= 0 && (::fstat(file_, &st) != 0 || !S_ISREG(st.st_mode))) {
        ::close(file_);
        file_ = -1;
    }
    if (file_ < 0) return answer(http::refusalAnswer(), "refused: no such file");
    answer(http::fileAnswerHeader(), std::to_string(st.st_size) + " bytes");
}

bool Connection::refillFromFile() {
    out_.resize(kFileChunk);
    ssize_t n;
    do n = ::read(file_, out_.data(), kFileChunk);
    while (n < 0 && errno == EINTR);
    out_.resize(n > 0 ? std::size_t(n) : 0);
    sent_ = 0;
    if (n > 0) return true;
    ::close(file_);
    file_ = -1;
    if (n < 0) close(record_.result + "; not delivered: the file could not be read");
    return false;
}

void Connection::pushOut() {
    for (;;) {
        if (sent_ == out_.size()) {
            if (file_ >= 0 && refillFromFile()) continue;
            if (state_ != State::Closed) finishAnswer();
            return;
        }
        const ssize_t n = ::send(fd_, out_.data() + sent_, out_.size() - sent_, MSG_NOSIGNAL);
        if (n > 0) {
            sent_ += std::size_t(n);
            armDeadline(core_.readTimeout);  // a client that keeps taking the answer has time
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            writable_->setEnabled(true);
            return;
        }
        return close(record_.result + "; not delivered: " + std::strerror(errno));
    }
}

// Ends the answer: no more bytes from this side, then what the client still sends is read
// and dropped until it closes, so the answer is not lost to a reset.
void Connection::finishAnswer() {
    writable_->setEnabled(false);
    out_.clear();
    out_.shrink_to_fit();
    ::shutdown(fd_, SHUT_WR);
    state_ = State::Lingering;
    armDeadline(kLingerTime);
}

void Connection::close(const std::string& result) {
    if (state_ == State::Closed) return;
    state_ = State::Closed;
    if (readable_) readable_->setEnabled(false);
    if (writable_) writable_->setEnabled(false);
    deadline_->stop();
    poll_->stop();
    if (file_ >= 0) ::close(file_);
    file_ = -1;
    ::close(fd_);
    fd_ = -1;
    record_.result = result;
    record_.duration = std::chrono::duration_cast<milliseconds>(Clock::now() - accepted_);
    if (core_.logger) core_.logger(http::logLine(record_));
}

}  // namespace tx::detail
