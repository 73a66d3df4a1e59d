// The XTest key output: its messages when no display can be used, and typing into a small X11
// program's window on a private Xvfb server, which reports the text it received.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "ui/keyboard/xtest_key_output.hpp"

namespace tx {
namespace {

TEST(XTestKeyOutput, SaysWhyItCannotType) {
    if (!XTestKeyOutput::supported()) {
        XTestKeyOutput out;
        EXPECT_NE(out.problem().find("built without X11 XTest support"), std::string::npos);
        return;
    }
    XTestKeyOutput missing(":9873");
    EXPECT_EQ(missing.problem(), "Keyboard output is disabled: the X11 display :9873 cannot be opened.");
    missing.send(65, false);  // ignored, no crash

    const char* saved = std::getenv("DISPLAY");
    const std::string display = saved ? saved : "";
    ::unsetenv("DISPLAY");
    XTestKeyOutput none;
    EXPECT_EQ(none.problem(), "Keyboard output is disabled: there is no X11 display (DISPLAY is not set).");
    if (saved) ::setenv("DISPLAY", display.c_str(), 1);
}

#ifdef TESSERIX_KEY_RECEIVER

std::string findProgram(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    for (std::size_t start = 0; start <= dirs.size();) {
        const std::size_t end = std::min(dirs.find(':', start), dirs.size());
        const std::filesystem::path candidate = std::filesystem::path(dirs.substr(start, end - start)) / name;
        if (::access(candidate.c_str(), X_OK) == 0) return candidate.string();
        start = end + 1;
    }
    return {};
}

// A child process with its standard output on a pipe.
struct Child {
    pid_t pid = -1;
    int out = -1;
    ~Child() {
        if (pid > 0) {
            ::kill(pid, SIGTERM);
            ::waitpid(pid, nullptr, 0);
        }
        if (out >= 0) ::close(out);
    }
    // Reads until `stop` appears, the pipe closes or the time-out passes.
    std::string read(const std::string& stop, int timeoutMs) {
        std::string text;
        char buffer[256];
        for (int waited = 0; waited < timeoutMs && text.find(stop) == std::string::npos;) {
            const ssize_t n = ::read(out, buffer, sizeof buffer);
            if (n > 0) {
                text.append(buffer, static_cast<std::size_t>(n));
            } else if (n == 0) {
                break;
            } else {
                ::usleep(10000);
                waited += 10;
            }
        }
        return text;
    }
};

// Starts argv with stdout on a non-blocking pipe; `outputFd` > 2 passes the pipe as that
// descriptor instead of stdout (Xvfb's -displayfd).
void spawn(Child& child, std::vector<std::string> argv, int outputFd = 1) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    child.pid = ::fork();
    if (child.pid == 0) {
        ::dup2(fds[1], outputFd);
        if (outputFd != 1) ::dup2(::open("/dev/null", O_WRONLY), 1);
        ::dup2(::open("/dev/null", O_WRONLY), 2);
        std::vector<char*> args;
        for (auto& a : argv) args.push_back(a.data());
        args.push_back(nullptr);
        ::execv(args[0], args.data());
        ::_exit(127);
    }
    ::close(fds[1]);
    child.out = fds[0];
    ::fcntl(child.out, F_SETFL, O_NONBLOCK);
}

TEST(XTestKeyOutput, TypesIntoAnX11WindowUnderXvfb) {
    const std::string xvfb = findProgram("Xvfb");
    if (xvfb.empty()) GTEST_SKIP() << "Xvfb is not installed";
    if (!XTestKeyOutput::supported()) GTEST_SKIP() << "built without XTest";

    Child server;
    spawn(server, {xvfb, "-displayfd", "3", "-screen", "0", "320x240x24", "-nolisten", "tcp"}, 3);
    const std::string number = server.read("\n", 10000);
    ASSERT_FALSE(number.empty()) << "Xvfb did not start";
    std::string display = ":";
    display.append(number, 0, number.find('\n'));

    // CR LF is one Enter, which the window receives as CR.
    const std::string line = "Hello, World! 0123456789 `~!@#$%^&*()-_=+[{]}\\|;:'\",<.>/? R U' F2\tend";
    const std::string text = line + "\r\n";
    const std::string expected = line + "\r";
    Child receiver;
    spawn(receiver, {TESSERIX_KEY_RECEIVER, std::to_string(expected.size()), "10000", display});
    ASSERT_EQ(receiver.read("ready\n", 10000), "ready\n");

    XTestKeyOutput out(display);
    ASSERT_EQ(out.problem(), "");
    PumpingWait wait(nullptr);
    KeyTyper typer(out, wait);
    EXPECT_EQ(typer.type(text, 0), "");
    const std::string received = receiver.read(expected, 10000);
    EXPECT_EQ(received, expected);
}

#endif

}  // namespace
}  // namespace tx
