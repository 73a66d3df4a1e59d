#pragma once
// The cube list as an HTML page: a head with the title, one table row per entry that has a
// maneuver (a cube-animation applet playing the maneuver in the current colour scheme, the
// pattern name and the generator), and a tail; lines end in CR LF. Every text put into the
// page (title, names, maneuvers) has "&", "<", ">" and '"' escaped, so a name cannot add
// markup or script to the page; everything else is written byte for byte.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "workspace/entry.hpp"
#include "workspace/facelet_editor.hpp"

namespace tx {

std::string htmlEscape(std::string_view text);

// The file name without its folder, up to the first ".".
std::string pageTitle(const std::filesystem::path& file);

// A colour as six upper-case hexadecimal digits, red, green, blue.
std::string colorText(std::uint32_t bgr);
// The six face colours in the order U, D, F, B, L, R: 36 digits.
std::string colorParameter(const ColorScheme& scheme);

// Entries with a maneuver (solverText, or an optimal maneuver) are exported.
bool hasExportedManeuver(const Entry& e);
// The optimal maneuver when there is one, else solverText; everything from the first "("
// on is cut off.
std::string exportMoveText(const Entry& e);
// The generator text chosen and cut the same way.
std::string exportGeneratorText(const Entry& e);

// The whole page; title is put in as given (pageTitle of the chosen file).
std::string htmlPage(const std::vector<std::shared_ptr<Entry>>& entries, std::string_view title,
                     const ColorScheme& scheme);

}  // namespace tx
