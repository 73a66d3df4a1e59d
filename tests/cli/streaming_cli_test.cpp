// solve and check answer line by line: the first answer arrives while the input is still open.
#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "cli_runner.hpp"

namespace {

using tx::testing::testTableFolder;

// tesserix-cli with a pipe on stdin and one on stdout; stderr is dropped.
class LiveCli {
public:
    explicit LiveCli(const std::vector<std::string>& args) {
        int in[2], out[2];
        if (::pipe(in) != 0 || ::pipe(out) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(in[0], 0);
            ::dup2(out[1], 1);
            ::close(in[1]);
            ::close(out[0]);
            if (FILE* null = std::fopen("/dev/null", "w")) ::dup2(::fileno(null), 2);
            std::vector<char*> argv = {const_cast<char*>(TESSERIX_CLI)};
            for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            ::execv(TESSERIX_CLI, argv.data());
            ::_exit(127);
        }
        ::close(in[0]);
        ::close(out[1]);
        toChild_ = in[1];
        fromChild_ = out[0];
    }
    ~LiveCli() {
        closeInput();
        if (fromChild_ >= 0) ::close(fromChild_);
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }

    void write(const std::string& text) { EXPECT_EQ(::write(toChild_, text.data(), text.size()), (ssize_t)text.size()); }
    void closeInput() {
        if (toChild_ >= 0) ::close(toChild_);
        toChild_ = -1;
    }

    // The next output line, or "(timeout)" when none came within the time.
    std::string readLine(std::chrono::seconds limit) {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (buffer_.find('\n') == std::string::npos) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
            if (left.count() <= 0) return "(timeout)";
            pollfd p{fromChild_, POLLIN, 0};
            if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
            char chunk[4096];
            const ssize_t n = ::read(fromChild_, chunk, sizeof chunk);
            if (n <= 0) return "(end)";
            buffer_.append(chunk, static_cast<std::size_t>(n));
        }
        const std::size_t at = buffer_.find('\n');
        std::string line = buffer_.substr(0, at);
        buffer_.erase(0, at + 1);
        return line;
    }

    int exitCode() {
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t pid_ = -1;
    int toChild_ = -1, fromChild_ = -1;
    std::string buffer_;
};

TEST(CliStreaming, SolveAnswersEachLineBeforeTheInputEnds) {
    // Target 2: each answer is the one shortest maneuver, whichever engine runs.
    LiveCli cli({"solve", "--data-dir", testTableFolder(), "--jobs", "2", "--target", "2"});
    cli.write("@R U\n");
    EXPECT_EQ(cli.readLine(std::chrono::seconds(120)), "U' R'  (2f)");
    cli.write("not a cube\n@F2\n");
    EXPECT_EQ(cli.readLine(std::chrono::seconds(60)).rfind("error: ", 0), 0u);
    EXPECT_EQ(cli.readLine(std::chrono::seconds(60)), "F2  (1f)");
    cli.write("@D");  // a last line without a line end still counts
    cli.closeInput();
    EXPECT_EQ(cli.readLine(std::chrono::seconds(60)), "D'  (1f)");
    EXPECT_EQ(cli.readLine(std::chrono::seconds(60)), "(end)");
    EXPECT_EQ(cli.exitCode(), 1);  // one line was not a cube
}

TEST(CliStreaming, CheckAnswersEachLineBeforeTheInputEnds) {
    LiveCli cli({"check", "--format", "json"});
    cli.write("UUUUUUUUURRRRRRRRRFFFFFFFFFDDDDDDDDDLLLLLLLLLBBBBBBBBB\n");
    EXPECT_EQ(cli.readLine(std::chrono::seconds(30)),
              R"({"input":"UUUUUUUUURRRRRRRRRFFFFFFFFFDDDDDDDDDLLLLLLLLLBBBBBBBBB","line":1,"ok":true})");
    cli.closeInput();
    EXPECT_EQ(cli.readLine(std::chrono::seconds(30)), "(end)");
    EXPECT_EQ(cli.exitCode(), 0);
}

// Many lines through a small window: the answers keep the input order.
TEST(CliStreaming, LongInputKeepsItsOrder) {
    std::string input;
    const std::vector<std::string> moves = {"R", "U", "F", "D", "L", "B"};
    for (int i = 0; i < 300; ++i) input += "@" + moves[i % 6] + (i % 2 ? "2" : "") + "\n";
    const auto r =
        tx::testing::runCli({"solve", "--data-dir", testTableFolder(), "--jobs", "3", "--target", "1"}, input);
    ASSERT_EQ(r.code, 0) << r.err;
    const auto lines = r.lines();
    ASSERT_EQ(lines.size(), 300u);
    for (int i = 0; i < 300; ++i)
        EXPECT_EQ(lines[i], moves[i % 6] + (i % 2 ? "2" : "'") + "  (1f)") << i;
}

}  // namespace
