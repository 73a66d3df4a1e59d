#include "platform/atomic_file.hpp"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <thread>

#include "platform/text.hpp"
#include "support/temp_folder.hpp"

namespace tx {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;
using testing::readFile;
using testing::writeFile;

int filesIn(const fs::path& dir) {
    int n = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir)) ++n;
    return n;
}

// The id of a process that has ended and been reaped.
pid_t deadPid() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    int status = 0;
    ::waitpid(child, &status, 0);
    return child;
}

TEST(AtomicFile, NewAndReplacedFilesKeepTheirPermissionsAndLeaveNoTemporary) {
    TempFolder dir("atomic");
    const fs::path target = dir / "a.txt";
    ASSERT_TRUE(writeFileAtomically(target, "first\n").ok);
    EXPECT_EQ(readFile(target), "first\n");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const WriteResult r = writeFileAtomically(target, [](FileSink& sink) {
        return sink.write("second ") && sink.write(std::string(100000, 'x'));
    });
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(readFile(target), "second " + std::string(100000, 'x'));
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(filesIn(dir.path()), 1);
    EXPECT_EQ(temporaryNameFor(target, 42), dir / ".a.txt.tmp-42");
}

TEST(AtomicFile, GivingUpOrAMissingFolderKeepsTheOldFile) {
    TempFolder dir("atomic");
    const fs::path target = dir / "a.txt";
    writeFile(target, "old");
    const WriteResult r = writeFileAtomically(target, [](FileSink& sink) {
        sink.write("half");
        return false;
    });
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.empty());
    EXPECT_EQ(readFile(target), "old");
    EXPECT_EQ(filesIn(dir.path()), 1);
    const WriteResult missing = writeFileAtomically(dir / "no" / "a.txt", "x");
    EXPECT_FALSE(missing.ok);
    EXPECT_NE(missing.error.find("cannot create a file in"), std::string::npos) << missing.error;
    EXPECT_FALSE(fs::exists(dir / "no"));
}

TEST(AtomicFile, ReadOnlyFilesAndFoldersAreRefused) {
    TempFolder dir("atomic");
    const fs::path target = dir / "ro.txt";
    writeFile(target, "keep");
    fs::permissions(target, fs::perms::owner_read | fs::perms::group_read);
    const WriteResult r = writeFileAtomically(target, "replaced");
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("read-only"), std::string::npos) << r.error;
    EXPECT_EQ(readFile(target), "keep");
    EXPECT_EQ(filesIn(dir.path()), 1);
    fs::create_directory(dir / "folder.txt");
    EXPECT_FALSE(writeFileAtomically(dir / "folder.txt", "x").ok);
    EXPECT_TRUE(fs::is_directory(dir / "folder.txt"));
}

TEST(AtomicFile, SymbolicLinksLeadToTheFileTheyName) {
    TempFolder dir("atomic");
    writeFile(dir / "real.txt", "old");
    fs::create_symlink(dir / "real.txt", dir / "link.txt");
    ASSERT_TRUE(writeFileAtomically(dir / "link.txt", "new").ok);
    EXPECT_TRUE(fs::is_symlink(dir / "link.txt"));
    EXPECT_EQ(readFile(dir / "real.txt"), "new");
}

TEST(AtomicFile, AFifoIsWrittenThroughAndStaysAFifo) {
    TempFolder dir("atomic");
    const fs::path fifo = dir / "pipe.txt";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = readFile(fifo); });
    const WriteResult r = writeFileAtomically(fifo, [](FileSink& sink) { return sink.write("line 1\r\n") && sink.write("line 2\r\n"); });
    reader.join();
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(received, "line 1\r\nline 2\r\n");
    struct stat st {};
    ASSERT_EQ(::lstat(fifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_EQ(filesIn(dir.path()), 1);
}

TEST(AtomicFile, DevicesAndStandardOutputAreWrittenThrough) {
    ASSERT_TRUE(writeFileAtomically("/dev/null", "discarded").ok);
    struct stat st {};
    ASSERT_EQ(::stat("/dev/null", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));

    // "-": standard output, here redirected into a pipe for the test.
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    const int savedOut = ::dup(STDOUT_FILENO);
    ::dup2(pipeFds[1], STDOUT_FILENO);
    const WriteResult r = writeFileAtomically("-", "to stdout\n");
    ::dup2(savedOut, STDOUT_FILENO);
    ::close(savedOut);
    ::close(pipeFds[1]);
    char buffer[64] = {};
    const ssize_t n = ::read(pipeFds[0], buffer, sizeof buffer - 1);
    ::close(pipeFds[0]);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0), "to stdout\n");
    EXPECT_FALSE(fs::exists("-"));
}

TEST(AtomicFile, StaleTemporariesOfEndedProcessesAreRemoved) {
    TempFolder dir("atomic");
    const fs::path target = dir / "ws.txt";
    writeFile(target, "old");
    const fs::path stale = temporaryNameFor(target, deadPid());
    const fs::path alive = temporaryNameFor(target, ::getppid());  // its writer may still finish
    const fs::path other = temporaryNameFor(dir / "other.txt", deadPid());
    writeFile(stale, "left by a killed save");
    writeFile(alive, "being written");
    writeFile(other, "another target's");
    ASSERT_TRUE(writeFileAtomically(target, "new").ok);
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(alive));
    EXPECT_TRUE(fs::exists(other));
    EXPECT_EQ(readFile(target), "new");
    // A leftover with this process's own id (an earlier process of the same id) is replaced.
    writeFile(temporaryNameFor(target, ::getpid()), "leftover");
    ASSERT_TRUE(writeFileAtomically(target, "newer").ok);
    EXPECT_FALSE(fs::exists(temporaryNameFor(target, ::getpid())));
}

TEST(AtomicFile, AWriteFailingMidwayKeepsTheOldFile) {
    TempFolder dir("atomic");
    const fs::path target = dir / "big.txt";
    writeFile(target, "old contents");
    // The file size limit makes the write fail after 4096 bytes, in a child process so that
    // the limit does not touch this one.
    const pid_t child = ::fork();
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        struct rlimit small {4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &small);
        const WriteResult r = writeFileAtomically(target, std::string(100000, 'y'));
        const bool told = !r.ok && r.error.find("cannot write") != std::string::npos;
        ::_exit(told ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the write did not fail with a message";
    EXPECT_EQ(readFile(target), "old contents");
    EXPECT_EQ(filesIn(dir.path()), 1);
}

// A producer may give up by throwing (a cancelled table build): the exception reaches the
// caller, the old file stays, the temporary goes and the target can be written again.
TEST(AtomicFile, AProducerThatThrowsKeepsTheOldFileAndLeavesNoTemporary) {
    TempFolder dir("atomic");
    const fs::path target = dir / "t.bin";
    writeFile(target, "old");
    struct Stop {};
    EXPECT_THROW(writeFileAtomically(target, [](FileSink& sink) {
                     sink.write(std::string(50000, 'z'));
                     throw Stop{};
                     return true;
                 }),
                 Stop);
    EXPECT_EQ(readFile(target), "old");
    EXPECT_EQ(filesIn(dir.path()), 1);
    EXPECT_THROW(writeFileAtomically(dir / "new.bin", [](FileSink&) -> bool { throw Stop{}; }), Stop);
    EXPECT_EQ(filesIn(dir.path()), 1);
    ASSERT_TRUE(writeFileAtomically(target, "new").ok);
    EXPECT_EQ(readFile(target), "new");
}

TEST(AtomicFile, AWriteOfTheSameTargetFromInsideItsOwnWriteIsRefused) {
    TempFolder dir("atomic");
    const fs::path target = dir / "t.txt";
    WriteResult inner;
    const WriteResult outer = writeFileAtomically(target, [&](FileSink& sink) {
        inner = writeFileAtomically(target, "inner");
        return sink.write("outer");
    });
    EXPECT_TRUE(outer.ok);
    EXPECT_FALSE(inner.ok);
    EXPECT_EQ(readFile(target), "outer");
    // Other threads wait for their turn instead.
    std::thread a([&] { for (int i = 0; i < 50; ++i) EXPECT_TRUE(writeFileAtomically(target, "a").ok); });
    std::thread b([&] { for (int i = 0; i < 50; ++i) EXPECT_TRUE(writeFileAtomically(target, "b").ok); });
    a.join();
    b.join();
    EXPECT_EQ(filesIn(dir.path()), 1);
}

TEST(Text, TrimTakesBlanksAndControlCharacters) {
    EXPECT_EQ(trim("  \t R U \r\n"), "R U");
    EXPECT_EQ(trim("\x01x\x7F"), "x\x7F");
    EXPECT_EQ(trim(" \t\r\n"), "");
    EXPECT_EQ(trim(""), "");
}

}  // namespace
}  // namespace tx
