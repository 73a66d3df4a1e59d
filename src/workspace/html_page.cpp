#include "workspace/html_page.hpp"

#include <cstdio>

#include "workspace/cube_list.hpp"

namespace tx {

namespace {

std::string cutAtMark(std::string text) {
    if (const auto open = text.find('('); open != std::string::npos) text.erase(open);
    return text;
}

void appendRow(std::string& page, const Entry& e, const std::string& colors) {
    page += "<tr><td width=\"120\">\r\n<applet code=\"AnimCube.class\" archive=\"AnimCube.jar\" width=\"120\" "
            "height=\"140\">\r\n<param name=\"move\" value=\"";
    page += htmlEscape(exportMoveText(e));
    page += "\">\r\n";
    page += "<param name=\"bgcolor\" value=\"FFFFFF\">\r\n";
    page += "<param name=\"colorscheme\" value=\"012345\">\r\n";
    page += "<param name=\"colors\" value=\"" + colors + "\">\r\n";
    page += "<param name=\"butbgcolor\" value=\"99AACC\">\r\n";
    page += "<param name=\"initrevmove\" value=\"#\">\r\n";
    page += "<param name=\"movetext\" value=\"0\">\r\n";
    page += "<param name=\"metric\" value=\"2\">\r\n";
    page += "<param name=\"fonttype\" value=\"2\">\r\n";
    page += "</applet></td>\r\n";
    page += "<td width=\"89%\">\r\n";
    page += "<table width=\"100%\" border=\"1\">\r\n";
    page += "<tr>\r\n";
    page += "<td width=\"13%\"><div align=\"center\">Name</div></td>\r\n";
    page += "<td width=\"87%\">&nbsp;" + htmlEscape(e.patternName) + "</td>\r\n";
    page += "</tr>\r\n";
    page += "<tr>\r\n";
    page += "<td><div align=\"center\">Generator</div></td>\r\n";
    page += "<td>&nbsp;" + htmlEscape(exportGeneratorText(e)) + "</td>\r\n";
    page += "</tr>\r\n";
    page += "</table>\r\n";
    page += "</td>\r\n";
    page += "</tr>\r\n";
}

}  // namespace

std::string htmlEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        switch (ch) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += ch;
        }
    }
    return out;
}

std::string pageTitle(const std::filesystem::path& file) {
    const std::string name = file.filename().string();
    return name.substr(0, name.find('.'));
}

std::string colorText(std::uint32_t bgr) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02X%02X%02X", bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
    return buf;
}

std::string colorParameter(const ColorScheme& scheme) {
    std::string text;
    for (int face : {U, D, F, B, L, R}) text += colorText(scheme[face]);
    return text;
}

bool hasExportedManeuver(const Entry& e) { return !e.solverText.empty() || e.hasOptimalText(); }

std::string exportMoveText(const Entry& e) { return cutAtMark(e.hasOptimalText() ? e.optimalText : e.solverText); }

std::string exportGeneratorText(const Entry& e) {
    return cutAtMark(e.hasOptimalText() ? optimalGeneratorText(e) : generatorText(e));
}

std::string htmlPage(const std::vector<std::shared_ptr<Entry>>& entries, std::string_view title,
                     const ColorScheme& scheme) {
    const std::string t = htmlEscape(title);
    std::string page = "<html>\r\n<head><title>" + t + "</title></head>\r\n<body><div align =\"center\"><h1>" + t +
                       "</h1>\r\n<p>&nbsp;</p></div>\r\n<table width=\"75%\" border=\"1\" align=\"center\">\r\n";
    const std::string colors = colorParameter(scheme);
    for (const auto& e : entries)
        if (hasExportedManeuver(*e)) appendRow(page, *e, colors);
    page += "</table><p>&nbsp;</p></body>\r\n</HTML>";
    return page;
}

}  // namespace tx
