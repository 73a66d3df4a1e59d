#include "line_reader.hpp"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

namespace tx::cli {

LineReader::LineReader(Args positional, bool allowStdinWhenEmpty) {
    fromStdin_ = (positional.size() == 1 && positional[0] == "-") || (positional.empty() && allowStdinWhenEmpty);
    if (fromStdin_)
        ended_ = false;
    else
        args_ = std::move(positional);
}

std::optional<std::string> LineReader::takePending() {
    const std::size_t end = pending_.find('\n');
    if (end == std::string::npos) {
        if (!ended_ || pending_.empty()) return std::nullopt;  // else: a last line without a line end
        std::string last = std::move(pending_);
        pending_.clear();
        if (last.back() == '\r') last.pop_back();
        return last;
    }
    std::string line = pending_.substr(0, end);
    pending_.erase(0, end + 1);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

bool LineReader::fillFromStdin(int timeoutMs) {
    if (ended_) return false;
    pollfd in{0, POLLIN, 0};
    const int ready = ::poll(&in, 1, timeoutMs);
    if (ready < 0 && errno == EINTR) return false;
    if (ready == 0) return false;
    char buffer[65536];
    const ssize_t n = ::read(0, buffer, sizeof buffer);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) return false;
    if (n <= 0) {
        ended_ = true;  // end of input, or an error that ends it just the same
        return true;
    }
    pending_.append(buffer, static_cast<std::size_t>(n));
    return true;
}

std::optional<std::string> LineReader::poll() {
    if (!fromStdin_) return nextArg_ < args_.size() ? std::optional(args_[nextArg_++]) : std::nullopt;
    if (auto line = takePending()) return line;
    while (fillFromStdin(0))
        if (auto line = takePending()) return line;
    return std::nullopt;
}

std::optional<std::string> LineReader::next() {
    if (!fromStdin_) return poll();
    while (true) {
        if (auto line = takePending()) return line;
        if (ended_) return std::nullopt;
        fillFromStdin(-1);
    }
}

}  // namespace tx::cli
