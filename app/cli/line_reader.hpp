#pragma once
// The input lines of a command, one at a time, so that answers can start before the input ends
// and memory does not grow with its length: the arguments, or stdin when the only argument is
// "-" or none is given.
#include <cstddef>
#include <optional>
#include <string>

#include "command.hpp"

namespace tx::cli {

class LineReader {
public:
    LineReader(Args positional, bool allowStdinWhenEmpty);

    // The next line, waiting for it when needed; nullopt at the end of the input.
    std::optional<std::string> next();
    // The next line when one is complete already, else nullopt without waiting (see ended()).
    std::optional<std::string> poll();
    // True once every line was handed out.
    bool ended() const { return ended_ && pending_.empty() && nextArg_ >= args_.size(); }

private:
    bool fillFromStdin(int timeoutMs);  // false when nothing more could be read yet
    std::optional<std::string> takePending();

    Args args_;
    std::size_t nextArg_ = 0;
    bool fromStdin_ = false;
    bool ended_ = true;
    std::string pending_;  // bytes read from stdin that do not yet end a line
};

}  // namespace tx::cli
