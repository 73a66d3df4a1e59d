#pragma once
// Runs tesserix-cli as a process with arguments and standard input, for the command tests.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/temp_folder.hpp"
#include "support/test_tables.hpp"

namespace tx::testing {

struct CliResult {
    int code = -1;
    std::string out;
    std::string err;
    std::vector<std::string> lines() const {
        std::vector<std::string> v;
        std::istringstream in(out);
        for (std::string l; std::getline(in, l);) v.push_back(l);
        return v;
    }
};

inline std::string shellQuote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

inline std::string readWholeFile(const std::filesystem::path& p) { return readFile(p); }

inline std::string testTableFolder() { return testDataFolder(); }

// Runs tesserix-cli with the arguments and the given standard input, in workDir when one is
// given (otherwise in the test's own working folder).
inline CliResult runCli(const std::vector<std::string>& args, const std::string& input = "",
                        const std::filesystem::path& workDir = {}) {
    namespace fs = std::filesystem;
    static const TempFolder scratch("cli-run");
    const fs::path& dir = scratch.path();
    { std::ofstream(dir / "in", std::ios::binary) << input; }
    std::string cmd = workDir.empty() ? std::string() : "cd " + shellQuote(workDir.string()) + " && ";
    cmd += shellQuote(TESSERIX_CLI);
    for (const auto& a : args) cmd += ' ' + shellQuote(a);
    cmd += " <" + shellQuote((dir / "in").string()) + " >" + shellQuote((dir / "out").string()) + " 2>" +
           shellQuote((dir / "err").string());
    const int status = std::system(cmd.c_str());
    CliResult r;
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = readWholeFile(dir / "out");
    r.err = readWholeFile(dir / "err");
    return r;
}

// Exit code and stdout of a shell command line (stderr goes where the command line sends it).
inline std::pair<int, std::string> runShell(const std::string& command) {
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return {-1, out};
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    const int status = ::pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

}  // namespace tx::testing
