#include "workspace/modern_page.hpp"

#include "cube/notation.hpp"
#include "platform/text.hpp"
#include "workspace/cube_list.hpp"
#include "workspace/html_page.hpp"

namespace tx {

namespace {

constexpr int kFreeColor = 6;

bool isMoveLetter(char ch) { return std::string_view("URFDLBEMSxyz").find(ch) != std::string_view::npos; }

PictureGeometry svgGeometry() {
    PictureGeometry g;
    g.size = ModernLayout::kFaceletSize;
    g.originX = ModernLayout::kPicturePad;
    g.originY = ModernLayout::kPicturePad;
    return g;
}

std::string stateText(const PlayerState& state) {
    std::string text;
    for (std::uint8_t c : state) text += static_cast<char>('0' + c);
    return text;
}

std::string svgPicture(const PlayerState& state, const ColorScheme& scheme, int number) {
    const PictureGeometry g = svgGeometry();
    const int w = g.width() + 2 * ModernLayout::kPicturePad, h = g.height() + 2 * ModernLayout::kPicturePad;
    std::string svg = "<svg width=\"" + std::to_string(w) + "\" height=\"" + std::to_string(h) + "\" viewBox=\"0 0 " +
                      std::to_string(w) + " " + std::to_string(h) + "\" role=\"img\" aria-label=\"Cube " +
                      std::to_string(number) + "\">";
    for (int n = 0; n < kFacelets; ++n) {
        svg += "<polygon points=\"";
        for (const PicturePoint& p : g.polygon(n)) svg += std::to_string(p.x) + "," + std::to_string(p.y) + " ";
        svg.back() = '"';
        svg += " fill=\"#" + colorText(scheme[state[static_cast<std::size_t>(n)]]) + "\"/>";
    }
    return svg + "</svg>\n";
}

// The maneuver the player steps through and the length mark shown after it.
struct PlayedManeuver {
    std::vector<std::string> tokens;
    std::string mark;
};

PlayedManeuver playedManeuver(const Entry& e) {
    PlayedManeuver m;
    if (!hasExportedManeuver(e)) return m;
    const std::string& text = e.hasOptimalText() ? e.optimalText : e.solverText;
    m.tokens = maneuverTokens(exportMoveText(e));
    if (const auto open = text.find('('); open != std::string::npos) m.mark = text.substr(open, text.find(')', open) - open + 1);
    return m;
}

std::string entrySection(const Entry& e, int number, const ColorScheme& scheme) {
    const PlayedManeuver m = playedManeuver(e);
    const std::vector<PlayerState> states = playerStates(e.cube, m.tokens);
    std::string html = "<section class=\"cube\" data-states=\"";
    for (std::size_t i = 0; i < states.size(); ++i) {
        if (i) html += ' ';
        html += stateText(states[i]);
    }
    html += "\">\n" + svgPicture(states.front(), scheme, number);
    html += "<div class=\"info\">\n<div class=\"name\"><span class=\"number\">" + std::to_string(number) + ".</span> " +
            htmlEscape(e.patternName) + "</div>\n<div class=\"moves\">";
    if (m.tokens.empty()) html += "<span class=\"none\">no maneuver</span>";
    for (const std::string& t : m.tokens) html += "<span class=\"move\">" + htmlEscape(t) + "</span> ";
    if (!m.mark.empty()) html += "<span class=\"mark\">" + htmlEscape(m.mark) + "</span>";
    html += "</div>\n<div class=\"player\"><button class=\"start\" title=\"Back to the start\">&laquo;</button>"
            "<button class=\"back\">&lsaquo; Back</button><span class=\"count\">0 / " +
            std::to_string(m.tokens.size()) +
            "</span><button class=\"forward\">Forward &rsaquo;</button>"
            "<button class=\"end\" title=\"To the end\">&raquo;</button></div>\n</div>\n</section>\n";
    return html;
}

std::string pageStyle() {
    using L = ModernLayout;
    return "<style>\n"
           ":root{color-scheme:light dark}\n"
           "body{margin:0;font:15px/1.4 system-ui,sans-serif;background:Canvas;color:CanvasText}\n"
           "header{height:" + std::to_string(L::kHeaderHeight) + "px;box-sizing:border-box;padding:0 " +
           std::to_string(L::kRowPaddingLeft) + "px;border-bottom:1px solid #8888;display:flex;align-items:center}\n"
           "h1{margin:0;font-size:22px;white-space:nowrap;overflow:hidden;text-overflow:ellipsis}\n"
           ".cube{display:flex;gap:20px;height:" + std::to_string(L::kRowHeight) + "px;box-sizing:border-box;padding:" +
           std::to_string(L::kRowPaddingTop) + "px " + std::to_string(L::kRowPaddingLeft) +
           "px 0;border-bottom:1px solid #8884}\n"
           ".cube svg{flex:none}\n"
           ".cube polygon{stroke:#000;stroke-width:1}\n"
           ".info{overflow:auto;max-height:" + std::to_string(L::kRowHeight - 2 * L::kRowPaddingTop) + "px}\n"
           ".name{font-weight:600;margin:4px 0 8px}.number{color:GrayText;margin-right:4px}\n"
           ".moves{font-family:ui-monospace,monospace;margin-bottom:10px}\n"
           ".move.done{color:GrayText}.move.next{font-weight:700;text-decoration:underline}\n"
           ".mark,.none{color:GrayText}\n"
           ".player{display:flex;gap:6px;align-items:center}.count{min-width:5em;text-align:center}\n"
           "footer{padding:12px " + std::to_string(L::kRowPaddingLeft) + "px;color:GrayText;font-size:12px}\n"
           "</style>\n";
}

// Picks the colours of the current step; the buttons and "#step=N" move it.
std::string pageScript(const ColorScheme& scheme) {
    std::string colors;
    for (int i = 0; i <= kFreeColor; ++i) colors += std::string(i ? "," : "") + "\"#" + colorText(scheme[i]) + "\"";
    return "<script>\n(() => {\n"
           "const colors = [" + colors + "];\n"
           "const show = p => {\n"
           "  const s = p.states[p.at];\n"
           "  p.faces.forEach((f, n) => f.setAttribute('fill', colors[s.charCodeAt(n) - 48]));\n"
           "  p.moves.forEach((m, n) => m.className = 'move' + (n < p.at ? ' done' : n === p.at ? ' next' : ''));\n"
           "  p.count.textContent = p.at + ' / ' + (p.states.length - 1);\n"
           "  p.start.disabled = p.back.disabled = p.at === 0;\n"
           "  p.forward.disabled = p.end.disabled = p.at === p.states.length - 1;\n"
           "};\n"
           "const go = (p, to) => { p.at = Math.max(0, Math.min(p.states.length - 1, to)); show(p); };\n"
           "const asked = /(?:^#|&)step=(\\d+)/.exec(location.hash);\n"
           "for (const el of document.querySelectorAll('section.cube')) {\n"
           "  const q = c => el.querySelector(c);\n"
           "  const p = {at: 0, states: el.dataset.states.split(' '), faces: [...el.querySelectorAll('polygon')],\n"
           "             moves: [...el.querySelectorAll('.move')], count: q('.count'), start: q('.start'),\n"
           "             back: q('.back'), forward: q('.forward'), end: q('.end')};\n"
           "  p.start.onclick = () => go(p, 0);\n"
           "  p.back.onclick = () => go(p, p.at - 1);\n"
           "  p.forward.onclick = () => go(p, p.at + 1);\n"
           "  p.end.onclick = () => go(p, p.states.length - 1);\n"
           "  go(p, asked ? Number(asked[1]) : 0);\n"
           "}\n"
           "})();\n</script>\n";
}

}  // namespace

PictureGeometry ModernLayout::picture(int row) {
    PictureGeometry g = svgGeometry();
    g.originX += kRowPaddingLeft;
    g.originY += kHeaderHeight + kRowHeight * row + kRowPaddingTop;
    return g;
}

std::vector<std::string> maneuverTokens(std::string_view text) {
    std::vector<std::string> tokens;
    std::size_t i = 0;
    while (i < text.size() && !isMoveLetter(text[i])) ++i;
    while (i < text.size()) {
        std::size_t end = i + 1;
        while (end < text.size() && !isMoveLetter(text[end])) ++end;
        tokens.emplace_back(trim(text.substr(i, end - i)));
        i = end;
    }
    return tokens;
}

std::vector<PlayerState> playerStates(const FaceletCube& start, const std::vector<std::string>& tokens) {
    std::vector<PlayerState> states;
    FaceletCube cube = start;
    // Colour value v shows the scheme colour that has moved to v's centre.
    std::array<std::uint8_t, 7> shown = {0, 1, 2, 3, 4, 5, kFreeColor};
    for (std::size_t step = 0;; ++step) {
        PlayerState s{};
        for (int n = 0; n < kFacelets; ++n) {
            const std::uint8_t v = cube.f[static_cast<std::size_t>(n)];
            s[static_cast<std::size_t>(n)] = v < 6 ? shown[v] : static_cast<std::uint8_t>(kFreeColor);
        }
        states.push_back(s);
        if (step == tokens.size()) break;
        applyManeuver(cube, tokens[step]);
        permuteScheme(shown, centreMovement(tokens[step]));
    }
    return states;
}

std::string modernHtmlPage(const std::vector<std::shared_ptr<Entry>>& entries, std::string_view title,
                           const ColorScheme& scheme) {
    const std::string t = htmlEscape(title);
    std::string page =
        "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; style-src 'unsafe-inline'; "
        "script-src 'unsafe-inline'\">\n"
        "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>" + t + "</title>\n" +
        pageStyle() + "</head>\n<body>\n<header><h1>" + t + "</h1></header>\n<main>\n";
    for (std::size_t i = 0; i < entries.size(); ++i) page += entrySection(*entries[i], static_cast<int>(i) + 1, scheme);
    page += "</main>\n<footer>" + std::to_string(entries.size()) + (entries.size() == 1 ? " cube" : " cubes") +
            " &middot; " + kProductName + "</footer>\n" + pageScript(scheme) + "</body>\n</html>\n";
    return page;
}

}  // namespace tx
