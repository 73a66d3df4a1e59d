#pragma once
// One line per served connection for the server's log: when it came, from where, what it
// asked for, what it got and how long it took, e.g.
//   2025-01-31 14:02:11 192.168.1.20 facelets UUUUUUUUURRRRRRRRRFFFFFFFFFDDDDDDDDDLLLLLLLLLBBBBBBBBB 19 moves 153 ms
//   2025-01-31 14:02:12 192.168.1.20 file faces/u.gif 4211 bytes 2 ms
//   2025-01-31 14:02:12 10.0.0.7 - - no answer: no request within 10 s 10001 ms
#include <chrono>
#include <string>
#include <string_view>

#include "server/request.hpp"

namespace tx::http {

struct RequestRecord {
    std::chrono::system_clock::time_point time;  // when the connection was accepted
    std::string address;                         // the client's address
    std::string kind = "-";                      // the request's kind, "-" before one was read
    std::string subject = "-";                   // the cube's letters or the file's path
    std::string result;                          // "19 moves", "error: ...", "no answer: ..."
    std::chrono::milliseconds duration{0};
};

// The name of a request kind in the log.
std::string_view kindName(RequestKind kind);
// The subject as it may stand in a log line: printable, without blanks, at most 80 characters.
std::string logSubject(std::string_view text);
// "N moves" for a maneuver answer.
std::string movesResult(std::string_view maneuver);
// Any other answer text in quotes: printable, at most 80 characters.
std::string quotedResult(std::string_view text);
// "TIME ADDRESS KIND SUBJECT RESULT N ms", without line end.
std::string logLine(const RequestRecord& record);

}  // namespace tx::http
