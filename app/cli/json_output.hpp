#pragma once
// "--format json": the commands' results as JSON Lines on stdout, one object per line with
// named fields, for programs that read the output.
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "command.hpp"

namespace tx::cli {

enum class OutputFormat { Text, Json };

// Takes "--format text|json" from args (text when absent); nullopt after a usage error was told.
std::optional<OutputFormat> takeFormat(Args& args, const char* command);

// Prints the object as one line on stdout and flushes, so a reader sees each result at once.
void printJsonLine(const nlohmann::json& record);

// One solved (or refused) cube: `answer` is the text line the command prints ("U' R' (2f)",
// "R U (20f*)" or "error: REASON"); it is split into maneuver, length, metric and optimal.
nlohmann::json maneuverRecord(std::size_t line, const std::string& input, const std::string& answer,
                              std::optional<double> milliseconds);

}  // namespace tx::cli

namespace tx {
struct TableFileReport;
struct TableStatistics;
}  // namespace tx

namespace tx::cli {

// {"file", "bytes", "built", "seconds"} for one table file that "tables" built or loaded.
nlohmann::json tableFileRecord(const TableFileReport& report);
// {"table", "distances": [{"distance", "entries"[, "positions"]}...], "entries"[, "positions"]}.
nlohmann::json tableStatisticsRecord(const TableStatistics& stats);

}  // namespace tx::cli
