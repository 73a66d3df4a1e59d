#include "server/request_log.hpp"

#include <ctime>

namespace tx::http {

std::string_view kindName(RequestKind kind) {
    switch (kind) {
    case RequestKind::Empty: return "empty";
    case RequestKind::File: return "file";
    case RequestKind::GetLast: return "getLast";
    case RequestKind::Status: return "status";
    case RequestKind::Connect: return "connect";
    case RequestKind::Clear: return "clear";
    case RequestKind::Scan: return "scan";
    case RequestKind::Transfer: return "transfer";
    case RequestKind::Facelets: return "facelets";
    }
    return "-";
}

namespace {

// At most 80 characters of text, each printable one kept (blanks too when allowed), any other
// written as "?".
std::string printable(std::string_view text, bool blanks) {
    constexpr std::size_t kMax = 80;
    std::string s;
    for (char ch : text) {
        if (s.size() == kMax) {
            s += "...";
            break;
        }
        s += (ch > ' ' || (blanks && ch == ' ')) && ch <= '~' ? ch : '?';
    }
    return s;
}

}  // namespace

std::string logSubject(std::string_view text) {
    std::string s = printable(text, false);
    return s.empty() ? "-" : s;
}

std::string quotedResult(std::string_view text) { return '"' + printable(text, true) + '"'; }

std::string movesResult(std::string_view maneuver) {
    int moves = 0;
    bool inMove = false;
    for (char ch : maneuver) {
        const bool blank = ch == ' ';
        if (!blank && !inMove) ++moves;
        inMove = !blank;
    }
    return std::to_string(moves) + (moves == 1 ? " move" : " moves");
}

std::string logLine(const RequestRecord& r) {
    const std::time_t t = std::chrono::system_clock::to_time_t(r.time);
    std::tm local{};
    ::localtime_r(&t, &local);
    char when[32];
    std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S", &local);
    std::string line = when;
    line += ' ';
    line += r.address.empty() ? "-" : r.address;
    line += ' ';
    line += r.kind;
    line += ' ';
    line += r.subject;
    line += ' ';
    line += r.result;
    line += ' ';
    line += std::to_string(r.duration.count());
    line += " ms";
    return line;
}

}  // namespace tx::http
