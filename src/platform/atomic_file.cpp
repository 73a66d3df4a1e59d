#include "platform/atomic_file.hpp"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

namespace tx {

namespace fs = std::filesystem;

bool FileSink::write(const void* data, std::size_t size) {
    if (error_ != 0) return false;
    const auto* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd_, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            error_ = n < 0 ? errno : EIO;
            return false;
        }
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

namespace {

// ".NAME.tmp-", built by appending (GCC 12 warns wrongly about "." + name).
std::string temporaryPrefix(const fs::path& target) {
    std::string prefix(1, '.');
    prefix += target.filename().string();
    prefix += ".tmp-";
    return prefix;
}

}  // namespace

fs::path temporaryNameFor(const fs::path& target, long pid) {
    return target.parent_path() / (temporaryPrefix(target) + std::to_string(pid));
}

namespace {

std::string quoted(const fs::path& p) {
    std::string text(1, '"');
    text += p.string();
    text += '"';
    return text;
}
std::string because(int err) { return " (" + std::string(std::strerror(err)) + ")"; }

WriteResult failure(std::string text) { return {false, std::move(text)}; }

// Writers in this process take turns per target: the temporary name holds only the process
// id. The same thread writing a target again from inside its own write is refused.
class TargetLock {
public:
    explicit TargetLock(const fs::path& target) {
        std::unique_lock registry(registryMutex());
        Slot& slot = slots()[target.string()];
        if (slot.owner == std::this_thread::get_id()) return;
        registry.unlock();
        lock_ = std::unique_lock(slot.mutex);
        registry.lock();
        slot.owner = std::this_thread::get_id();
        slot_ = &slot;
    }
    ~TargetLock() {
        if (!slot_) return;
        std::lock_guard registry(registryMutex());
        slot_->owner = {};
    }
    bool held() const { return slot_ != nullptr; }

private:
    struct Slot {
        std::mutex mutex;
        std::thread::id owner;
    };
    static std::mutex& registryMutex() {
        static std::mutex m;
        return m;
    }
    static std::map<std::string, Slot>& slots() {
        static std::map<std::string, Slot> s;
        return s;
    }
    std::unique_lock<std::mutex> lock_;
    Slot* slot_ = nullptr;
};

bool processGone(long pid) { return pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH; }

// Temporaries of this target whose writer has died (a crash or a kill during a save).
void removeStaleTemporaries(const fs::path& target) {
    const std::string prefix = temporaryPrefix(target);
    std::error_code ec;
    fs::path dir = target.parent_path();
    if (dir.empty()) dir = ".";
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string digits = name.substr(prefix.size());
        if (digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos) continue;
        const long pid = std::stol(digits);
        if (pid != ::getpid() && processGone(pid)) ::unlink(it->path().c_str());
    }
}

// The file a symbolic link leads to; the path itself otherwise.
fs::path followLinks(const fs::path& target) {
    std::error_code ec;
    if (!fs::is_symlink(target, ec)) return target;
    const fs::path resolved = fs::weakly_canonical(target, ec);
    return ec ? target : resolved;
}

// Pipes and devices take the bytes as they come; nothing is replaced.
WriteResult writeThrough(int fd, const std::string& name, const std::function<bool(FileSink&)>& produce) {
    FileSink sink(fd);
    const bool produced = produce(sink);
    if (sink.error() != 0) return failure("cannot write " + name + because(sink.error()));
    if (!produced) return failure("writing " + name + " was given up");
    return {true, ""};
}

WriteResult writeThroughPath(const fs::path& target, const std::function<bool(FileSink&)>& produce) {
    const int fd = ::open(target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return failure("cannot open " + quoted(target) + because(errno));
    WriteResult r;
    try {
        r = writeThrough(fd, quoted(target), produce);
    } catch (...) {
        ::close(fd);
        throw;
    }
    if (::close(fd) != 0 && r.ok) r = failure("cannot write " + quoted(target) + because(errno));
    return r;
}

void syncFolder(const fs::path& dir) {
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd < 0) return;
    ::fsync(dfd);  // the rename itself reaches the disk; the file is replaced either way
    ::close(dfd);
}

int createTemporary(const fs::path& temp) {
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EEXIST) {
        // Only this process uses this name, and the target lock is held: it is a leftover
        // of an earlier process with the same id.
        if (::unlink(temp.c_str()) == 0) fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        else errno = EEXIST;
    }
    return fd;
}

WriteResult replaceRegularFile(const fs::path& real, const fs::path& shown, const struct stat* old,
                               const std::function<bool(FileSink&)>& produce) {
    fs::path dir = real.parent_path();
    if (dir.empty()) dir = ".";
    const fs::path temp = temporaryNameFor(real, ::getpid());
    const int fd = createTemporary(temp);
    if (fd < 0) return failure("cannot create a file in " + quoted(dir) + because(errno));
    if (old) ::fchmod(fd, old->st_mode & 07777);
    auto fail = [&](const std::string& text) {
        ::close(fd);
        ::unlink(temp.c_str());
        return failure(text);
    };
    FileSink sink(fd);
    bool produced = false;
    try {
        produced = produce(sink);
    } catch (...) {  // a producer that gives up by throwing (a cancelled build) leaves nothing behind
        fail("");
        throw;
    }
    if (sink.error() != 0) return fail("cannot write " + quoted(shown) + because(sink.error()));
    if (!produced) return fail("writing " + quoted(shown) + " was given up");
    if (::fsync(fd) != 0) return fail("cannot write " + quoted(shown) + because(errno));
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        return failure("cannot write " + quoted(shown) + because(err));
    }
    if (::rename(temp.c_str(), real.c_str()) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        return failure("cannot replace " + quoted(shown) + because(err));
    }
    syncFolder(dir);
    return {true, ""};
}

}  // namespace

WriteResult writeFileAtomically(const fs::path& target, const std::function<bool(FileSink&)>& produce) {
    if (target == "-") return writeThrough(STDOUT_FILENO, "standard output", produce);
    const fs::path real = followLinks(target);
    struct stat st {};
    const bool exists = ::stat(real.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) return failure(quoted(target) + " is a folder");
    if (exists && !S_ISREG(st.st_mode)) return writeThroughPath(real, produce);
    if (exists && ((st.st_mode & 0222) == 0 || ::access(real.c_str(), W_OK) != 0))
        return failure(quoted(target) + " is read-only");
    TargetLock lock(real);
    if (!lock.held()) return failure(quoted(target) + " is being written already");
    removeStaleTemporaries(real);
    return replaceRegularFile(real, target, exists ? &st : nullptr, produce);
}

WriteResult writeFileAtomically(const fs::path& target, std::string_view contents) {
    return writeFileAtomically(target, [contents](FileSink& sink) { return sink.write(contents); });
}

}  // namespace tx
