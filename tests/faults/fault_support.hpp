#pragma once
// Faults for the file writers: a child process killed at a random moment of a write, a child
// that writes without the right to, under a file size limit, or into a full filesystem.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <thread>

#include "support/temp_folder.hpp"

namespace tx::testing {

// Runs body in a forked child; its return value is the child's exit status (-1: killed).
inline int inChild(const std::function<int()>& body) {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(body());
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// In a child: gives up root's right to write anywhere, so a read-only folder stays read-only.
inline bool dropPrivileges() {
    if (::geteuid() != 0) return true;
    return ::setgid(65534) == 0 && ::setuid(65534) == 0;
}

// In a child: writes beyond `bytes` fail with EFBIG instead of ending the process.
inline void limitFileSize(rlim_t bytes) {
    ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit {};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

struct KillTally {
    int old = 0;    // trials that left the old contents
    int fresh = 0;  // trials that left the new contents
};

// Kills a child with SIGKILL at a random moment of `write` (which replaces target's `oldBytes`
// by `newBytes`), `trials` times; every trial must leave one of the two, complete.
inline KillTally killWhileWriting(const std::filesystem::path& target, const std::string& oldBytes,
                                  const std::string& newBytes, const std::function<void()>& write, int trials,
                                  unsigned seed) {
    using Clock = std::chrono::steady_clock;
    KillTally tally;
    // How long a whole write takes in a child, fork and exit included.
    writeFile(target, oldBytes);
    const auto t0 = Clock::now();
    EXPECT_EQ(inChild([&] { return write(), 0; }), 0);
    const auto whole = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - t0);
    EXPECT_EQ(readFile(target), newBytes) << "an undisturbed write";
    std::mt19937 rng(seed);
    std::uniform_int_distribution<long long> at(0, whole.count() * 13 / 10);
    for (int i = 0; i < trials; ++i) {
        writeFile(target, oldBytes);
        const pid_t pid = ::fork();
        if (pid == 0) {
            write();
            ::_exit(0);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(at(rng)));
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        const std::string now = readFile(target);
        if (now == oldBytes) ++tally.old;
        else if (now == newBytes) ++tally.fresh;
        else ADD_FAILURE() << "trial " << i << ": the file holds " << now.size() << " bytes of neither";
    }
    std::printf("%d kills during %lld us writes of %zu bytes: %d left the old file, %d the new one\n", trials,
                static_cast<long long>(whole.count()), newBytes.size(), tally.old, tally.fresh);
    return tally;
}

// Files in a folder other than the expected ones (temporaries left behind).
inline int filesBesides(const std::filesystem::path& folder, std::initializer_list<std::string> expected) {
    int n = 0;
    for (const auto& e : std::filesystem::directory_iterator(folder)) {
        bool known = false;
        for (const auto& name : expected) known |= e.path().filename() == name;
        n += !known;
    }
    return n;
}

// A filesystem of `bytes` mounted on a fresh folder, where the system lets this process mount
// one (root in a container that allows it); mounted() is false otherwise.
class SmallFilesystem {
public:
    explicit SmallFilesystem(std::size_t bytes) : folder_("smallfs") {
        const std::string options = "size=" + std::to_string(bytes);
        mounted_ = ::mount("tmpfs", folder_.path().c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~SmallFilesystem() {
        if (mounted_) ::umount2(folder_.path().c_str(), MNT_DETACH);
    }
    bool mounted() const { return mounted_; }
    std::filesystem::path operator/(std::string_view name) const { return folder_ / name; }
    const std::filesystem::path& path() const { return folder_.path(); }

private:
    TempFolder folder_;
    bool mounted_ = false;
};

}  // namespace tx::testing
