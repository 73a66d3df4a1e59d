// The web server under attack. Starts `tesserix-cli serve` on 127.0.0.1 with a working folder
// of its own, measures good clients alone, then again while attackers run at once:
//   idle      connections that send "GET /" and nothing more (reopened when dropped)
//   big       requests of 1 MB
//   garbage   binary junk
//   split     good requests sent one byte at a time with pauses (must be answered correctly)
//   traverse  file requests that try to leave the working folder in every spelling
//   burst     waves of concurrent good facelet requests (every answer checked)
//   vanish    clients that close right after their request or in the middle of a file answer
// Good clients send random cubes and check that each answer solves its cube. Prints requests
// per second and latency of the good clients in both phases, the server's peak threads,
// descriptors and memory, and each attack's outcome. Exit code 1 when a good, split or burst
// answer was wrong, a traversal got a file from outside, or the server died.
//   server_attack --cli build/release/app/tesserix-cli --data-dir DATA [--seconds 20]
//                 [--good 20] [--idle 1000] [--burst 200] [--attacks idle,big,...]
// --attacks chooses the attackers (default all); "idle,big,garbage,split,traverse" leaves out
// the two that make the server search (burst, vanish), to see what slow clients alone cost.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "attack_clients.hpp"

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using namespace tx::attack;

namespace {

struct Options {
    std::string cli, dataDir;
    int seconds = 20, good = 20, idle = 1000, burst = 200;
    std::string attacks = "idle,big,garbage,split,traverse,burst,vanish";
};

bool parse(int argc, char** argv, Options& o) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string key = argv[i], value = argv[i + 1];
        if (key == "--cli") o.cli = value;
        else if (key == "--data-dir") o.dataDir = value;
        else if (key == "--seconds") o.seconds = std::stoi(value);
        else if (key == "--good") o.good = std::stoi(value);
        else if (key == "--idle") o.idle = std::stoi(value);
        else if (key == "--burst") o.burst = std::stoi(value);
        else if (key == "--attacks") o.attacks = value;
        else return false;
    }
    return argc % 2 == 1 && !o.cli.empty() && !o.dataDir.empty() && o.seconds > 0 && o.good > 0;
}

// The server as a child process, its log in the working folder.
struct Server {
    pid_t pid = -1;
    int port = 0;
    fs::path log;

    bool start(const Options& o, const fs::path& work) {
        log = work.parent_path() / "serve.log";
        pid = ::fork();
        if (pid == 0) {
            std::freopen(log.c_str(), "w", stderr);
            ::execl(o.cli.c_str(), o.cli.c_str(), "serve", "--port", "0", "--bind", "127.0.0.1", "--yes",
                    "--data-dir", o.dataDir.c_str(), "--work-dir", work.c_str(), static_cast<char*>(nullptr));
            std::_Exit(127);
        }
        for (int i = 0; i < 1200 && port == 0 && alive(); ++i) {
            std::this_thread::sleep_for(100ms);
            std::ifstream in(log);
            for (std::string line; std::getline(in, line);) {
                const auto at = line.find("listening on 127.0.0.1 port ");
                if (at != std::string::npos) port = std::stoi(line.substr(at + 28));
            }
        }
        return port != 0;
    }
    bool alive() const { return pid > 0 && ::waitpid(pid, nullptr, WNOHANG) == 0; }
    long status(const std::string& name) const {
        std::ifstream in("/proc/" + std::to_string(pid) + "/status");
        for (std::string line; std::getline(in, line);)
            if (line.rfind(name + ":", 0) == 0) return std::stol(line.substr(name.size() + 1));
        return -1;
    }
    // CPU seconds the server has used (user and system); of its main thread, the event loop
    // that serves every connection, when asked.
    double cpuSeconds(bool mainThread = false) const {
        const std::string process = "/proc/" + std::to_string(pid);
        std::ifstream in(mainThread ? process + "/task/" + std::to_string(pid) + "/stat" : process + "/stat");
        std::string field;
        for (int i = 1; i <= 13 && in >> field; ++i) {
        }
        long user = 0, system = 0;
        in >> user >> system;
        return double(user + system) / double(::sysconf(_SC_CLK_TCK));
    }
    long descriptors() const {
        long n = 0;
        std::error_code ec;
        for (auto it = fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", ec); !ec && it != fs::directory_iterator(); it.increment(ec)) ++n;
        return n;
    }
    // SIGTERM; true when it ended by itself with exit code 0 within 10 s.
    bool stop() {
        ::kill(pid, SIGTERM);
        for (int i = 0; i < 100; ++i) {
            int st = 0;
            if (::waitpid(pid, &st, WNOHANG) == pid) return WIFEXITED(st) && WEXITSTATUS(st) == 0;
            std::this_thread::sleep_for(100ms);
        }
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        return false;
    }
};

// Samples the server's threads, descriptors and memory until told to stop.
struct Sampler {
    std::atomic<long> threads{0}, descriptors{0}, rss{0};
    void sample(const Server& s) {
        threads = std::max(threads.load(), s.status("Threads"));
        descriptors = std::max(descriptors.load(), s.descriptors());
        rss = std::max(rss.load(), s.status("VmRSS"));
    }
};

struct Phase {
    Tally tally;
    double seconds = 0;
    double serverCpu = 0, loopCpu = 0, ownCpu = 0;  // CPU seconds: server, its event loop, this program
};

double ownCpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Good clients for `seconds`, from 127.0.0.2: each sends random cubes one after another.
void runGoodClients(const Options& o, const Server& server, unsigned seed, Phase& phase) {
    const int port = server.port;
    const double serverCpu = server.cpuSeconds(), loopCpu = server.cpuSeconds(true), ownCpu = ownCpuSeconds();
    std::atomic<bool> stop = false;
    std::vector<std::thread> clients;
    const auto start = Clock::now();
    for (int i = 0; i < o.good; ++i)
        clients.emplace_back([&, i] {
            std::mt19937 rng(seed + unsigned(i));
            while (!stop) goodRequest(port, "127.0.0.2", rng, phase.tally);
        });
    std::this_thread::sleep_for(std::chrono::seconds(o.seconds));
    stop = true;
    for (auto& t : clients) t.join();
    phase.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    phase.serverCpu = server.cpuSeconds() - serverCpu;
    phase.loopCpu = server.cpuSeconds(true) - loopCpu;
    phase.ownCpu = ownCpuSeconds() - ownCpu;
}

void printPhase(const char* name, Phase& p) {
    std::printf("%-16s %6zu answers (%zu wrong, %zu failed) in %.1f s: %.1f requests/s, latency median %.0f ms, p95 %.0f ms\n",
                name, p.tally.good.load(), p.tally.wrong.load(), p.tally.failed.load(), p.seconds,
                double(p.tally.good) / p.seconds, p.tally.percentile(0.5), p.tally.percentile(0.95));
    std::printf("%-16s CPU: server %.1f s (event loop %.1f s), this program (clients and attackers) %.1f s\n", "",
                p.serverCpu, p.loopCpu, p.ownCpu);
}

std::string loadAverage() {
    std::ifstream in("/proc/loadavg");
    std::string a, b, c;
    in >> a >> b >> c;
    return a + " " + b + " " + c;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (!parse(argc, argv, o)) {
        std::fprintf(stderr, "usage: server_attack --cli PATH --data-dir DIR [--seconds S] [--good N] [--idle N] [--burst N] [--attacks LIST]\n");
        return 2;
    }
    ::signal(SIGPIPE, SIG_IGN);
    // The attack needs more descriptors than the usual soft limit; the server inherits it.
    rlimit limit{};
    ::getrlimit(RLIMIT_NOFILE, &limit);
    limit.rlim_cur = std::min<rlim_t>(limit.rlim_max, 65536);
    ::setrlimit(RLIMIT_NOFILE, &limit);

    char base[] = "/tmp/server_attack.XXXXXX";
    if (!::mkdtemp(base)) return 2;
    const fs::path root = base, work = root / "work";
    Folders folders = makeFolders(root, work);
    Server server;
    if (!server.start(o, work)) {
        std::fprintf(stderr, "server_attack: the server did not start (log: %s)\n", server.log.c_str());
        return 2;
    }
    std::printf("server pid %d port %d, attacks %s, load before: %s\n", server.pid, server.port, o.attacks.c_str(),
                loadAverage().c_str());

    Sampler sampler;
    std::atomic<bool> sampling = true;
    std::thread sampleThread([&] {
        while (sampling) {
            sampler.sample(server);
            std::this_thread::sleep_for(100ms);
        }
    });

    Phase alone;
    runGoodClients(o, server, 1000, alone);
    printPhase("without attack", alone);

    Attacks attacks(server.port, folders, o.idle, o.burst, o.attacks);
    attacks.start();
    std::this_thread::sleep_for(2s);  // the idle connections are in place
    Phase attacked;
    runGoodClients(o, server, 2000, attacked);
    attacks.stop();
    printPhase("under attack", attacked);
    const bool stillAnswers = [&] {
        Tally after;
        std::mt19937 rng(3);
        goodRequest(server.port, "127.0.0.2", rng, after);
        return after.good == 1;
    }();

    sampling = false;
    sampleThread.join();
    std::printf("ratio under attack / without: %.2f; load after: %s\n",
                double(attacked.tally.good) / attacked.seconds / (double(alone.tally.good) / alone.seconds),
                loadAverage().c_str());
    std::printf("server peaks: %ld threads, %ld descriptors, %ld kB resident (VmHWM %ld kB)\n", sampler.threads.load(),
                sampler.descriptors.load(), sampler.rss.load(), server.status("VmHWM"));
    const bool sound = attacks.report();
    const bool alive = server.alive();
    const bool stopped = server.stop();
    std::printf("server after the attack: %s, answers: %s, SIGTERM: %s\n", alive ? "running" : "DEAD",
                stillAnswers ? "yes" : "NO", stopped ? "ended, exit 0" : "DID NOT END CLEANLY");
    std::error_code ec;
    fs::remove_all(root, ec);
    const bool ok = sound && alive && stillAnswers && stopped && alone.tally.wrong == 0 && attacked.tally.wrong == 0 &&
                    alone.tally.good > 0 && attacked.tally.good > 0;
    std::printf("%s\n", ok ? "PASS" : "FAIL");
    return ok ? 0 : 1;
}
