// The exported web pages: the exact applet page (head, rows, tail, CR LF, escaping) and the
// modern page's content and player states.
#include "list_support.hpp"

#include "workspace/html_page.hpp"
#include "workspace/modern_page.hpp"

namespace tx {
namespace {

using testing::cubeOf;

std::shared_ptr<Entry> solverEntry(const std::string& text, const std::string& name) {
    auto e = std::make_shared<Entry>();
    e->cube = cubeOf(inverseManeuver(text));
    e->setSolverText(text, countFaceTurns(text));
    e->patternName = name;
    return e;
}

std::string row(const std::string& move, const std::string& colors, const std::string& name,
                const std::string& generator) {
    return "<tr><td width=\"120\">\r\n"
           "<applet code=\"AnimCube.class\" archive=\"AnimCube.jar\" width=\"120\" height=\"140\">\r\n"
           "<param name=\"move\" value=\"" + move + "\">\r\n"
           "<param name=\"bgcolor\" value=\"FFFFFF\">\r\n"
           "<param name=\"colorscheme\" value=\"012345\">\r\n"
           "<param name=\"colors\" value=\"" + colors + "\">\r\n"
           "<param name=\"butbgcolor\" value=\"99AACC\">\r\n"
           "<param name=\"initrevmove\" value=\"#\">\r\n"
           "<param name=\"movetext\" value=\"0\">\r\n"
           "<param name=\"metric\" value=\"2\">\r\n"
           "<param name=\"fonttype\" value=\"2\">\r\n"
           "</applet></td>\r\n"
           "<td width=\"89%\">\r\n"
           "<table width=\"100%\" border=\"1\">\r\n"
           "<tr>\r\n"
           "<td width=\"13%\"><div align=\"center\">Name</div></td>\r\n"
           "<td width=\"87%\">&nbsp;" + name + "</td>\r\n"
           "</tr>\r\n"
           "<tr>\r\n"
           "<td><div align=\"center\">Generator</div></td>\r\n"
           "<td>&nbsp;" + generator + "</td>\r\n"
           "</tr>\r\n"
           "</table>\r\n"
           "</td>\r\n"
           "</tr>\r\n";
}

std::string head(const std::string& title) {
    return "<html>\r\n<head><title>" + title + "</title></head>\r\n<body><div align =\"center\"><h1>" + title +
           "</h1>\r\n<p>&nbsp;</p></div>\r\n<table width=\"75%\" border=\"1\" align=\"center\">\r\n";
}

const std::string kTail = "</table><p>&nbsp;</p></body>\r\n</HTML>";
// U blue, D green, F red, B orange, L white, R yellow.
const std::string kDefaultColors = "0000FF008000FF0000FF8000FFFFFFFFFF00";

TEST(HtmlPage, RowsForEntriesWithManeuversBetweenHeadAndTail) {
    std::vector<std::shared_ptr<Entry>> list;
    list.push_back(solverEntry("R U2 F'  (3f)", "T-Perm"));
    list.push_back(std::make_shared<Entry>());  // a pattern: no row
    auto optimal = solverEntry("R U R' U'  (4f)", "ignored solver");
    optimal->setOptimalManeuver("U R  (2f*)", 2, true);
    optimal->patternName = "<script>alert(\"x\") & more</script>";
    list.push_back(optimal);
    auto noMark = solverEntry("L D", "");
    list.push_back(noMark);

    const std::string expected =
        head("my") + row("R U2 F'  ", kDefaultColors, "T-Perm", "F U2 R'  ") +
        row("U R  ", kDefaultColors, "&lt;script&gt;alert(&quot;x&quot;) &amp; more&lt;/script&gt;", "R' U'  ") +
        row("L D", kDefaultColors, "", "D' L' ") + kTail;
    EXPECT_EQ(htmlPage(list, pageTitle("/some/folder/my.cubes.html"), ColorScheme::defaults()), expected);
}

TEST(HtmlPage, ListWithoutManeuversGivesHeadAndTailOnly) {
    auto status = std::make_shared<Entry>();
    status->setOptimalStatus("Status: Searching depth 12...");
    EXPECT_EQ(htmlPage({std::make_shared<Entry>(), status}, "t", ColorScheme::defaults()), head("t") + kTail);
    EXPECT_EQ(htmlPage({}, "", ColorScheme::defaults()), head("") + kTail);
}

TEST(HtmlPage, TitleColoursAndEscaping) {
    EXPECT_EQ(pageTitle("/a/b.c/page.html"), "page");
    EXPECT_EQ(pageTitle("noext"), "noext");
    EXPECT_EQ(pageTitle(".htm"), "");
    EXPECT_EQ(htmlEscape("a<b>&\"c'"), "a&lt;b&gt;&amp;&quot;c'");
    EXPECT_EQ(htmlEscape("\xe4\xf6 \r\n"), "\xe4\xf6 \r\n");  // everything else byte for byte
    // 0x00BBGGRR: red first in the text.
    EXPECT_EQ(colorText(0x00FF8000), "0080FF");
    ColorScheme scheme = ColorScheme::defaults();
    scheme.colors[R] = 0x00123456;
    EXPECT_EQ(colorParameter(scheme).substr(30), "563412");
    // The title goes into the page escaped.
    EXPECT_EQ(htmlPage({}, "a<b", scheme).substr(0, 30), "<html>\r\n<head><title>a&lt;b</t");
}

// ------------------------------------------------------------------ the modern page

TEST(ModernPage, TokensFollowTheReader) {
    EXPECT_EQ(maneuverTokens("R U2 F'  "), (std::vector<std::string>{"R", "U2", "F'"}));
    EXPECT_EQ(maneuverTokens("Us2 x E'RU"), (std::vector<std::string>{"Us2", "x", "E'", "R", "U"}));
    EXPECT_TRUE(maneuverTokens("  ").empty());
    // The tokens applied one by one make the same cube as the whole text.
    MersenneTwister rng(3);
    for (int i = 0; i < 20; ++i) {
        const auto e = testing::entryWithManeuver(rng, 15);
        FaceletCube whole = e->cube, stepped = e->cube;
        applyManeuver(whole, e->solverText);
        for (const auto& t : maneuverTokens(exportMoveText(*e))) applyManeuver(stepped, t);
        EXPECT_EQ(whole.f, stepped.f);
    }
}

TEST(ModernPage, StatesStartAtTheCubeAndEndSolved) {
    MersenneTwister rng(4);
    const auto e = testing::entryWithManeuver(rng, 12);
    const auto states = playerStates(e->cube, maneuverTokens(exportMoveText(*e)));
    ASSERT_EQ(states.size(), 13u);
    for (int n = 0; n < kFacelets; ++n) {
        EXPECT_EQ(states.front()[static_cast<std::size_t>(n)], e->cube.f[static_cast<std::size_t>(n)]);
        EXPECT_EQ(states.back()[static_cast<std::size_t>(n)], n / 9);
    }
}

TEST(ModernPage, ColoursFollowWholeCubeTurns) {
    // After y the front shows what was the right face; the centres keep their physical colour.
    const auto states = playerStates(FaceletCube(), {"y", "E"});
    ASSERT_EQ(states.size(), 3u);
    for (int p = 0; p < 9; ++p) {
        EXPECT_EQ(states[1][static_cast<std::size_t>(9 * F + p)], R);
        EXPECT_EQ(states[1][static_cast<std::size_t>(9 * R + p)], B);
        EXPECT_EQ(states[1][static_cast<std::size_t>(9 * U + p)], U);
    }
    // E then turns the middle layer like D: the front centre shows what was on the left.
    EXPECT_EQ(states[2][9 * F + 4], F);
    EXPECT_EQ(states[2][9 * F + 0], R);
    // Undefined facelets keep the free colour.
    FaceletCube partial;
    partial.f[0] = kUndefinedFacelet;
    EXPECT_EQ(playerStates(partial, {})[0][0], 6);
}

TEST(ModernPage, SelfContainedWithEscapedTextsAndEveryEntry) {
    auto named = solverEntry("R U2 F'  (3f)", "<img src=x onerror=alert(1)>");
    auto pattern = std::make_shared<Entry>();
    pattern->patternName = "a & b";
    ColorScheme scheme = ColorScheme::defaults();
    scheme.colors[U] = 0x00112233;
    const std::string page = modernHtmlPage({named, pattern}, "t<", scheme);
    EXPECT_TRUE(page.starts_with("<!DOCTYPE html>"));
    EXPECT_NE(page.find("<title>t&lt;</title>"), std::string::npos);
    EXPECT_NE(page.find("&lt;img src=x onerror=alert(1)&gt;"), std::string::npos);
    EXPECT_EQ(page.find("<img"), std::string::npos);
    EXPECT_NE(page.find("a &amp; b"), std::string::npos);
    // Nothing is fetched: no links, no external scripts, styles or images.
    for (const char* reference : {"src=\"", "href=", "<link", "@import", "url(", "http:", "https:"})
        EXPECT_EQ(page.find(reference), std::string::npos) << reference;
    EXPECT_NE(page.find("default-src 'none'"), std::string::npos);
    // The scheme's colours, the three moves and their four states, both entries.
    EXPECT_NE(page.find("\"#332211\""), std::string::npos);
    EXPECT_NE(page.find("<span class=\"move\">U2</span>"), std::string::npos);
    EXPECT_NE(page.find("<span class=\"count\">0 / 3</span>"), std::string::npos);
    EXPECT_NE(page.find("<span class=\"count\">0 / 0</span>"), std::string::npos);
    std::size_t polygons = 0;
    for (std::size_t at = 0; (at = page.find("<polygon", at)) != std::string::npos; ++at) ++polygons;
    EXPECT_EQ(polygons, 2u * kFacelets);
}

}  // namespace
}  // namespace tx
