#include "table_verify.hpp"

#include <cstdio>

#include "command.hpp"
#include "tables/table_manifest.hpp"

namespace tx::cli {

int verifyTables(const std::filesystem::path& folder) {
    const auto checks = verifyTableFolder(folder);
    int bad = 0;
    for (const auto& c : checks) {
        std::printf("%-20s %12llu %s\n", c.name.c_str(), static_cast<unsigned long long>(c.bytes), describe(c.state));
        bad += c.state == TableFileState::Differs || c.state == TableFileState::WrongSize ||
               c.state == TableFileState::Unreadable;
    }
    if (checks.empty()) std::fprintf(stderr, "tables: no table files in %s\n", folder.c_str());
    if (bad > 0) {
        std::fprintf(stderr, "tables: %d file%s failed the check; the next start creates %s again\n", bad,
                     bad == 1 ? "" : "s", bad == 1 ? "it" : "them");
        return kExitInvalid;
    }
    return kExitOk;
}

}  // namespace tx::cli
