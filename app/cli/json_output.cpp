#include "json_output.hpp"

#include <cstdio>
#include <regex>

#include "tables/loader.hpp"

namespace tx::cli {

std::optional<OutputFormat> takeFormat(Args& args, const char* command) {
    const std::string format = takeOption(args, "--format", "text");
    if (format == "text") return OutputFormat::Text;
    if (format == "json") return OutputFormat::Json;
    std::fprintf(stderr, "tesserix-cli %s: --format needs text or json, not '%s'\n", command, format.c_str());
    return std::nullopt;
}

void printJsonLine(const nlohmann::json& record) {
    // Input lines are not always valid UTF-8: replace what is not, rather than fail.
    const std::string text = record.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

nlohmann::json maneuverRecord(std::size_t line, const std::string& input, const std::string& answer,
                              std::optional<double> milliseconds) {
    nlohmann::json record = {{"line", line}, {"input", input}};
    static const std::regex kMarked(R"(^(.*?) *\((\d+)([fs])(\*?)\)$)");
    std::smatch m;
    if (answer.rfind("error: ", 0) == 0) {
        record["error"] = answer.substr(7);
    } else if (std::regex_match(answer, m, kMarked)) {
        record["maneuver"] = m[1].str();
        record["length"] = std::stoi(m[2].str());
        record["metric"] = m[3].str() == "f" ? "face" : "slice";
        record["optimal"] = !m[4].str().empty();
    } else {
        record["error"] = answer;
    }
    if (milliseconds) record["milliseconds"] = *milliseconds;
    return record;
}

nlohmann::json tableFileRecord(const TableFileReport& report) {
    return {{"file", report.name}, {"bytes", report.bytes}, {"built", report.built}, {"seconds", report.seconds}};
}

nlohmann::json tableStatisticsRecord(const TableStatistics& stats) {
    // Only the phase-1 tables stand for more positions than entries (by their symmetry classes).
    const bool withPositions = stats.name.rfind("phase1PF", 0) == 0;
    nlohmann::json distances = nlohmann::json::array();
    std::uint64_t entries = 0, positions = 0;
    for (std::size_t d = 0; d < stats.byDistance.size(); ++d) {
        const auto& count = stats.byDistance[d];
        if (count.entries == 0) continue;
        nlohmann::json row = {{"distance", d}, {"entries", count.entries}};
        if (withPositions) row["positions"] = count.positions;
        distances.push_back(row);
        entries += count.entries;
        positions += count.positions;
    }
    nlohmann::json record = {{"table", stats.name}, {"distances", distances}, {"entries", entries}};
    if (withPositions) record["positions"] = positions;
    return record;
}

}  // namespace tx::cli
