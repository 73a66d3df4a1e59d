#include "server/answer_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <mutex>

#include "platform/atomic_file.hpp"
#include "server/request.hpp"

namespace tx {
namespace {

// The lock of the answer file, one for the whole process.
std::mutex& answerFileLock() {
    static std::mutex lock;
    return lock;
}

std::string failure(const std::string& what, int err) {
    std::string text(http::kAnswerFileName);
    text += " ";
    text += what;
    if (err != 0) text += std::string(" (") + std::strerror(err) + ")";
    return text;
}

}  // namespace

std::string writeAnswerFile(const std::filesystem::path& folder, std::string_view text) {
    std::lock_guard lock(answerFileLock());
    const std::filesystem::path file = folder / std::string(http::kAnswerFileName);
    // O_NONBLOCK: opening a FIFO without a reader fails at once instead of waiting for one.
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0) {
        const int err = errno;
        if (err == ELOOP) return failure("is a symbolic link; it is not followed", 0);
        if (err == ENXIO) return failure("is not a regular file; it is not written", 0);  // a FIFO
        return failure("cannot be opened", err);
    }
    struct stat st {};
    std::string error;
    if (::fstat(fd, &st) != 0)
        error = failure("cannot be read", errno);
    else if (!S_ISREG(st.st_mode))
        error = failure("is not a regular file; it is not written", 0);
    else if (st.st_nlink != 1)
        error = failure("has other names (hard links); it is not written", 0);
    else if (::ftruncate(fd, 0) != 0)
        error = failure("cannot be emptied", errno);
    else {
        FileSink sink(fd);
        if (!sink.write(text)) error = failure("cannot be written", sink.error());
    }
    ::close(fd);
    return error;
}

}  // namespace tx
