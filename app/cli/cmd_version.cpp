// version: prints the program name, version and the commit it was built from.
#include <cstdio>

#include "command.hpp"
#include "version/version.hpp"

namespace {
tx::cli::Register version("version", "print the program version",
                          "usage: tesserix-cli version\nPrints the program name, its version and the commit it was "
                          "built from (the same as tesserix-cli --version).\n",
                          [](const tx::cli::Args&) {
                              std::printf("%s\n", tx::app::versionLine("tesserix-cli").c_str());
                              return tx::cli::kExitOk;
                          });
}
