// version: prints the program name and version.
#include <cstdio>

#include "command.hpp"

namespace {
tx::cli::Register version("version", "print the program version",
                          "usage: tesserix-cli version\nPrints the program name and version.\n",
                          [](const tx::cli::Args&) {
                              std::printf("Tesserix 5.00s\n");
                              return tx::cli::kExitOk;
                          });
}
