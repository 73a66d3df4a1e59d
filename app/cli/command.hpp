#pragma once
// Subcommands of tesserix-cli register themselves here, one file per command, together with
// the small argument helpers they share.
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tx::cli {

using Args = std::vector<std::string>;

struct Command {
    std::string summary;  // one line for the command list of "tesserix-cli --help"
    std::string usage;    // printed for "COMMAND --help"; empty when the command prints its own
    std::function<int(const Args&)> run;
};

std::map<std::string, Command>& commands();

struct Register {
    Register(const std::string& name, std::string summary, std::function<int(const Args&)> run) {
        commands()[name] = Command{std::move(summary), {}, std::move(run)};
    }
    Register(const std::string& name, std::string summary, std::string usage, std::function<int(const Args&)> run) {
        commands()[name] = Command{std::move(summary), std::move(usage), std::move(run)};
    }
};

// Exit codes: 0 success, 1 some input was not valid, 2 usage or system error.
constexpr int kExitOk = 0;
constexpr int kExitInvalid = 1;
constexpr int kExitError = 2;

// Inputs of a command: the arguments, or stdin lines when the only argument is "-" or none
// is given and allowStdinWhenEmpty is set.
std::vector<std::string> inputLines(const Args& positional, bool allowStdinWhenEmpty);

// Simple option parsing: returns the value after name (and removes both), or fallback.
bool takeFlag(Args& args, const std::string& name);
std::string takeOption(Args& args, const std::string& name, const std::string& fallback);

// True (after saying so) when an argument left over after option parsing looks like an option.
bool hasUnknownOption(const char* command, const Args& args);

// "tesserix-cli COMMAND: line N: TEXT" on stderr.
void reportLine(const char* command, std::size_t line, const std::string& text);

// Turns each input line (stdin, one per line, when no argument is given) into one output
// line. A line that `convert` refuses prints "invalid", its reason goes to stderr, and the
// exit code becomes 1.
using LineConverter = std::function<std::optional<std::string>(const std::string& line, std::string& error)>;
int convertLines(const char* command, const Args& positional, const LineConverter& convert);

}  // namespace tx::cli
