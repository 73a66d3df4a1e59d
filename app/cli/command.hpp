#pragma once
// Subcommands of tesserix-cli register themselves here, one file per command.
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace tx::cli {

using Args = std::vector<std::string>;

struct Command {
    std::string summary;  // one line for the usage text
    std::function<int(const Args&)> run;
};

std::map<std::string, Command>& commands();

struct Register {
    Register(const std::string& name, std::string summary, std::function<int(const Args&)> run) {
        commands()[name] = Command{std::move(summary), std::move(run)};
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

}  // namespace tx::cli
