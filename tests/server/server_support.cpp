#include "server_support.hpp"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>

namespace tx::test {

using Clock = std::chrono::steady_clock;

bool pumpUntil(const std::function<bool()>& pred, std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    while (!pred()) {
        if (Clock::now() >= deadline) return pred();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

namespace {

bool sendAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const auto n = ::send(fd, data, size, MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= std::size_t(n);
    }
    return true;
}

}  // namespace

Reply talk(int port, const std::string& request, const ClientOptions& options) {
    Reply reply;
    const auto start = Clock::now();
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) throw std::runtime_error("socket() failed");
    if (options.from) {
        sockaddr_in local{};
        local.sin_family = AF_INET;
        ::inet_pton(AF_INET, options.from, &local.sin_addr);
        if (::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
            ::close(fd);
            throw std::runtime_error("bind() failed");
        }
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(std::uint16_t(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        throw std::runtime_error("connect() failed");
    }
    const std::size_t split = std::min(options.splitAt, request.size());
    bool sent = sendAll(fd, request.data(), split);
    if (split < request.size()) {
        std::this_thread::sleep_for(options.pause);
        sent = sent && sendAll(fd, request.data() + split, request.size() - split);
    }
    if (!sent) reply.reset = true;
    if (options.closeAfterSend) {
        ::close(fd);
        reply.elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
        return reply;
    }
    const auto deadline = start + options.patience;
    char buffer[65536];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) break;
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, int(left.count())) <= 0) continue;
        const auto n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n > 0) {
            reply.bytes.append(buffer, std::size_t(n));
            continue;
        }
        if (n == 0) reply.closed = true;
        else if (errno == EINTR) continue;
        else reply.reset = true;
        break;
    }
    ::close(fd);
    reply.elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    return reply;
}

Reply get(int port, const std::string& path) {
    return whilePumping([port, path] { return talk(port, "GET " + path + " HTTP/1.0\r\n\r\n"); });
}

int openConnection(int port, const std::string& bytes, const char* from) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) return -1;
    sockaddr_in local{};
    local.sin_family = AF_INET;
    ::inet_pton(AF_INET, from, &local.sin_addr);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(std::uint16_t(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
        ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        !sendAll(fd, bytes.data(), bytes.size())) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool closedByServer(int fd, std::chrono::milliseconds wait) {
    const auto deadline = Clock::now() + wait;
    char buffer[4096];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, int(std::max<long long>(left.count(), 0))) <= 0) return false;
        const auto n = ::recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) return true;
    }
}

std::string solvedFacelets() { return FaceletCube().faceletString(); }

std::string turnedFacelets(int code) {
    FaceletCube cube;
    cube.turn(code);
    return cube.faceletString();
}

}  // namespace tx::test
