#include <cstdio>
#include <iostream>

#include "command.hpp"

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

bool takeFlag(Args& args, const std::string& name) {
    for (auto it = args.begin(); it != args.end(); ++it) {
        if (*it == name) {
            args.erase(it);
            return true;
        }
    }
    return false;
}

std::string takeOption(Args& args, const std::string& name, const std::string& fallback) {
    for (auto it = args.begin(); it != args.end(); ++it) {
        if (*it == name && it + 1 != args.end()) {
            std::string v = *(it + 1);
            args.erase(it, it + 2);
            return v;
        }
        if (it->rfind(name + "=", 0) == 0) {
            std::string v = it->substr(name.size() + 1);
            args.erase(it);
            return v;
        }
    }
    return fallback;
}

}  // namespace tx::cli

int main(int argc, char** argv) {
    using namespace tx::cli;
    auto usage = [] {
        std::fprintf(stderr, "usage: tesserix-cli COMMAND [OPTIONS]\n\ncommands:\n");
        for (const auto& [name, cmd] : commands())
            std::fprintf(stderr, "  %-10s %s\n", name.c_str(), cmd.summary.c_str());
    };
    if (argc < 2) {
        usage();
        return kExitError;
    }
    std::string name = argv[1];
    if (name == "-h" || name == "--help" || name == "help") {
        usage();
        return kExitOk;
    }
    auto it = commands().find(name);
    if (it == commands().end()) {
        std::fprintf(stderr, "tesserix-cli: unknown command '%s'\n", name.c_str());
        usage();
        return kExitError;
    }
    Args args(argv + 2, argv + argc);
    try {
        return it->second.run(args);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tesserix-cli %s: %s\n", name.c_str(), e.what());
        return kExitError;
    }
}
