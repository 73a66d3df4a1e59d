#include "output.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "command.hpp"

namespace tx::cli {

bool flushOutput() { return std::fflush(stdout) == 0 && !std::ferror(stdout); }

int finishOutput(const char* command, int code) {
    errno = 0;
    if (flushOutput()) return code;
    const int err = errno;
    if (err != 0)
        std::fprintf(stderr, "tesserix-cli %s: write error (%s)\n", command, std::strerror(err));
    else
        std::fprintf(stderr, "tesserix-cli %s: write error\n", command);
    return kExitError;
}

}  // namespace tx::cli
