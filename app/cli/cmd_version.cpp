#include <cstdio>

#include "command.hpp"

namespace {
tx::cli::Register version("version", "print the program version", [](const tx::cli::Args&) {
    std::printf("Tesserix 5.00s\n");
    return tx::cli::kExitOk;
});
}
