#pragma once
// The one way the program writes a file it may be replacing (workspaces, cube.ini, table
// files). A regular file (or a new one) is written to ".NAME.tmp-PID" in the same folder,
// flushed to disk and renamed over the target, and the folder is flushed too; a failure at
// any step leaves the old file as it was and removes the temporary. Whatever is not a regular
// file (a FIFO, a device such as /dev/null, "-" for standard output) is written through
// directly and never replaced. An existing read-only file is refused. A symbolic link is
// followed: the file it names is the target. Temporaries left by processes that no longer
// exist are removed on the next write to the same target.
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace tx {

// Where the bytes of one write go. Each call writes everything it is given (continuing after
// partial writes); false once a write failed, and every later call fails too.
class FileSink {
public:
    explicit FileSink(int fd) : fd_(fd) {}
    bool write(const void* data, std::size_t size);
    bool write(std::string_view text) { return write(text.data(), text.size()); }
    int error() const { return error_; }  // errno of the failed write, 0 while all went well

private:
    int fd_;
    int error_ = 0;
};

struct WriteResult {
    bool ok = false;
    std::string error;  // why not, as a sentence part for the user ("cannot write ...")
};

// Opens the target as described above and lets `produce` write the contents; produce returns
// false to give up (the old file is kept then, as after any failure).
WriteResult writeFileAtomically(const std::filesystem::path& target, const std::function<bool(FileSink&)>& produce);
WriteResult writeFileAtomically(const std::filesystem::path& target, std::string_view contents);

// The temporary name used for target: ".NAME.tmp-PID" beside it.
std::filesystem::path temporaryNameFor(const std::filesystem::path& target, long pid);

}  // namespace tx
