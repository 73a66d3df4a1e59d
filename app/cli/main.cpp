#include <algorithm>
#include <cstdio>
#include <iostream>

#include "command.hpp"
#include "console.hpp"
#include "output.hpp"
#include "version/version.hpp"

namespace tx::cli {

std::map<std::string, Command>& commands() {
    static std::map<std::string, Command> all;
    return all;
}

std::vector<std::string> inputLines(const Args& positional, bool allowStdinWhenEmpty) {
    bool fromStdin = (positional.size() == 1 && positional[0] == "-") ||
                     (positional.empty() && allowStdinWhenEmpty);
    if (!fromStdin) return positional;
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

namespace {

// Options are spelled "centres" or "centers", as the user likes: both name one option.
std::string oneSpelling(std::string option) {
    const std::size_t nameEnd = std::min(option.find('='), option.size());
    if (const std::size_t at = option.find("centers"); at < nameEnd) option.replace(at, 7, "centres");
    return option;
}

}  // namespace

bool takeFlag(Args& args, const std::string& name) {
    const std::string wanted = oneSpelling(name);
    for (auto it = args.begin(); it != args.end(); ++it) {
        if (oneSpelling(*it) == wanted) {
            args.erase(it);
            return true;
        }
    }
    return false;
}

std::string takeOption(Args& args, const std::string& name, const std::string& fallback) {
    const std::string wanted = oneSpelling(name);
    for (auto it = args.begin(); it != args.end(); ++it) {
        const std::string given = oneSpelling(*it);
        if (given == wanted && it + 1 != args.end()) {
            std::string v = *(it + 1);
            args.erase(it, it + 2);
            return v;
        }
        if (given.rfind(wanted + "=", 0) == 0) {
            std::string v = it->substr(wanted.size() + 1);
            args.erase(it);
            return v;
        }
    }
    return fallback;
}

bool hasUnknownOption(const char* command, const Args& args) {
    for (const auto& a : args) {
        if (a.size() > 1 && a[0] == '-') {
            std::fprintf(stderr, "tesserix-cli %s: unknown option %s\n", command, a.c_str());
            return true;
        }
    }
    return false;
}

void reportLine(const char* command, std::size_t line, const std::string& text) {
    std::fprintf(stderr, "tesserix-cli %s: line %zu: %s\n", command, line, text.c_str());
}

int convertLines(const char* command, const Args& positional, const LineConverter& convert) {
    if (hasUnknownOption(command, positional)) return kExitError;
    int exitCode = kExitOk;
    std::size_t lineNo = 0;
    for (const auto& line : inputLines(positional, true)) {
        if (std::ferror(stdout)) break;  // the output is lost; main() reports it
        ++lineNo;
        std::string error;
        if (const auto out = convert(line, error)) {
            std::printf("%s\n", out->c_str());
            continue;
        }
        reportLine(command, lineNo, error);
        std::printf("invalid\n");
        exitCode = kExitInvalid;
    }
    return exitCode;
}

}  // namespace tx::cli

namespace {

// The command list: to stdout when asked for, to stderr after a usage error.
void listCommands(std::FILE* to) {
    std::fprintf(to, "usage: tesserix-cli COMMAND [OPTIONS]\n\ncommands:\n");
    for (const auto& [name, cmd] : tx::cli::commands())
        std::fprintf(to, "  %-10s %s\n", name.c_str(), cmd.summary.c_str());
    std::fprintf(to, "\n\"tesserix-cli COMMAND --help\" describes a command and its options;\n"
                     "\"tesserix-cli --version\" prints the version. Every command takes --quiet (-q): no\n"
                     "progress on stderr. Options spelled with \"centres\" may be spelled \"centers\".\n");
}

// "--help"/"-h" and "--version" mean the same after every command, wherever they stand.
bool asks(const tx::cli::Args& args, std::initializer_list<const char*> flags) {
    for (const auto& a : args)
        for (const char* f : flags)
            if (a == f) return true;
    return false;
}

int describe(const tx::cli::Command& cmd) {
    if (cmd.usage.empty()) return cmd.run({"--help"});  // the command prints its own
    std::printf("%s", cmd.usage.c_str());
    return tx::cli::kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace tx::cli;
    if (argc < 2) {
        listCommands(stderr);
        return kExitError;
    }
    std::string name = argv[1];
    Args args(argv + 2, argv + argc);
    if (name == "--version") {
        std::printf("%s\n", tx::app::versionLine("tesserix-cli").c_str());
        return finishOutput("version", kExitOk);
    }
    if (name == "-h" || name == "--help" || name == "help") {
        if (name != "help" || args.empty()) {
            listCommands(stdout);
            return finishOutput("help", kExitOk);
        }
        name = args.front();  // "help COMMAND"
        args = {"--help"};
    }
    auto it = commands().find(name);
    if (it == commands().end()) {
        std::fprintf(stderr, "tesserix-cli: unknown command '%s'\n", name.c_str());
        listCommands(stderr);
        return kExitError;
    }
    const Command& cmd = it->second;
    if (takeFlag(args, "--quiet") || takeFlag(args, "-q")) silenceProgress();
    int code = kExitError;
    try {
        if (asks(args, {"--version"})) {
            std::printf("%s\n", tx::app::versionLine("tesserix-cli").c_str());
            code = kExitOk;
        } else if (asks(args, {"-h", "--help"})) {
            code = describe(cmd);
        } else {
            code = cmd.run(args);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tesserix-cli %s: %s\n", name.c_str(), e.what());
    }
    return finishOutput(name.c_str(), code);
}
