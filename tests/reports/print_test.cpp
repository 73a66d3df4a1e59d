// Printing six cubes to a page: the print command's PDF and the desktop program's printer,
// checked through the text of the PDF (pdftotext) where the geometry puts it.
#include <gtest/gtest.h>

#include <QPrinter>

#include <cstdio>
#include <regex>

#include "cli/cli_runner.hpp"
#include "support/temp_folder.hpp"
#include "ui/cube_printer.hpp"
#include "ui/list_fixture.hpp"
#include "ui/list_reports.hpp"

namespace tx::ui::test {
namespace {

namespace fs = std::filesystem;
using tx::testing::runCli;
using tx::testing::TempFolder;

struct Word {
    int page = 0;  // 1-based
    double x = 0, y = 0;  // top left, in points
    std::string text;
};

bool havePdfToText() { return std::system("pdftotext -v >/dev/null 2>&1") == 0; }

// Every word of the PDF with its page and position.
std::vector<Word> pdfWords(const fs::path& pdf) {
    const fs::path out = pdf.string() + ".bbox";
    const std::string cmd = "pdftotext -bbox '" + pdf.string() + "' '" + out.string() + "' 2>/dev/null";
    EXPECT_EQ(std::system(cmd.c_str()), 0);
    std::vector<Word> words;
    int page = 0;
    const std::regex word(R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="[0-9.]+" yMax="[0-9.]+">(.*)</word>)re");
    std::istringstream in(tx::testing::readFile(out));
    for (std::string line; std::getline(in, line);) {
        if (line.find("<page ") != std::string::npos) ++page;
        std::smatch m;
        if (std::regex_search(line, m, word)) words.push_back({page, std::stod(m[1]), std::stod(m[2]), m[3]});
    }
    return words;
}

int pageCount(const std::vector<Word>& words) {
    int pages = 0;
    for (const auto& w : words) pages = std::max(pages, w.page);
    return pages;
}

const Word* findWord(const std::vector<Word>& words, const std::string& text) {
    for (const auto& w : words)
        if (w.text == text) return &w;
    return nullptr;
}

std::string workspaceOfSeven() {
    std::string text;
    const char* maneuvers[] = {"R U", "F D2", "L' B", "U R2 F", "D B'", "R L", "F2 U'"};
    for (int i = 0; i < 7; ++i) text += std::string(maneuvers[i]) + "   //Name" + std::to_string(i + 1) + "\r\n";
    return text;
}

constexpr double kPointsPerPixel = 72.0 / 1200.0;  // the print command writes 1200 dpi

TEST(Print, GeometryOfTheSlots) {
    const PrintGeometry a4 = PrintGeometry::of(1200, 14033);
    EXPECT_EQ(a4.b, 472);
    EXPECT_EQ(a4.d, 75);
    EXPECT_EQ(a4.margin(), 944);
    EXPECT_EQ(a4.slotTop(5), 472 + 150 * 75);
    // The last slot's picture (24 units high) ends above the bottom centimetre.
    EXPECT_LE(a4.slotTop(5) + 24 * a4.d, 14033 - a4.b);
    const PrintGeometry low = PrintGeometry::of(300, 3508);
    EXPECT_EQ(low.b, 118);
    EXPECT_EQ(low.d, 18);
}

TEST(Print, SevenCubesMakeTwoPagesOfSixAndOne) {
    if (!havePdfToText()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    TempFolder folder("print");
    tx::testing::writeFile(folder / "seven.txt", workspaceOfSeven());
    const auto r = runCli({"print", (folder / "seven.txt").string(), (folder / "seven.pdf").string(), "--data-dir",
                           folder.path().string()});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const auto words = pdfWords(folder / "seven.pdf");
    ASSERT_EQ(pageCount(words), 2);
    const PrintGeometry g = PrintGeometry::of(1200, 14033);
    for (int k = 0; k < 7; ++k) {
        const int page = k < 6 ? 1 : 2;
        const double top = g.slotTop(k % 6) * kPointsPerPixel;
        const Word* number = findWord(words, std::to_string(k + 1) + ".");
        const Word* name = findWord(words, "Name" + std::to_string(k + 1));
        ASSERT_TRUE(number && name) << k;
        EXPECT_EQ(number->page, page);
        EXPECT_EQ(name->page, page);
        EXPECT_NEAR(number->x, g.margin() * kPointsPerPixel, 1.5);
        EXPECT_NEAR(number->y, top, 1.5);
        EXPECT_NEAR(name->x, (g.margin() + 25 * g.d) * kPointsPerPixel, 1.5);
        EXPECT_NEAR(name->y, top + 11 * g.d * kPointsPerPixel, 1.5);
    }
    // The generator of the first cube ("R U" read from the file) under its name.
    const Word* generator = findWord(words, "R");
    ASSERT_TRUE(generator);
    EXPECT_NEAR(generator->x, (g.margin() + 21 * g.d) * kPointsPerPixel, 1.5);
    EXPECT_NEAR(generator->y, g.slotTop(0) * kPointsPerPixel + 16 * g.d * kPointsPerPixel, 1.5);
}

TEST(Print, SelectedCubesAreNumberedAmongThemselves) {
    if (!havePdfToText()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    TempFolder folder("print");
    tx::testing::writeFile(folder / "seven.txt", workspaceOfSeven());
    const auto r = runCli({"print", (folder / "seven.txt").string(), (folder / "some.pdf").string(), "--selected",
                           "2,5-6", "--data-dir", folder.path().string()});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto words = pdfWords(folder / "some.pdf");
    EXPECT_EQ(pageCount(words), 1);
    for (const char* text : {"1.", "2.", "3.", "Name2", "Name5", "Name6"}) EXPECT_TRUE(findWord(words, text)) << text;
    for (const char* text : {"4.", "Name1", "Name3", "Name7"}) EXPECT_FALSE(findWord(words, text)) << text;
    EXPECT_LT(findWord(words, "Name2")->y, findWord(words, "Name5")->y);
}

TEST(Print, CommandErrorsLeaveTheOldFile) {
    TempFolder folder("print");
    tx::testing::writeFile(folder / "seven.txt", workspaceOfSeven());
    const fs::path out = folder / "old.pdf";
    tx::testing::writeFile(out, "old");
    auto r = runCli({"print", (folder / "missing.txt").string(), out.string()});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("missing.txt"), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    r = runCli({"print", (folder / "seven.txt").string(), out.string(), "--selected", "3,9"});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("'9'"), std::string::npos) << r.err;
    r = runCli({"print", (folder / "seven.txt").string(), (folder / "no" / "such" / "x.pdf").string()});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_EQ(tx::testing::readFile(out), "old");
    r = runCli({"print", (folder / "seven.txt").string(), out.string()});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(tx::testing::readFile(out).starts_with("%PDF-"));
}

TEST(Print, DesktopPrintsAllOrTheSelectedCubes) {
    if (!havePdfToText()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    ListWindow w;
    for (int k = 1; k <= 7; ++k) w.add(cubeOf(k % 2 ? "R U" : "F D"), "Cube" + std::to_string(k), "U' R'  (2f)");
    QPrinter& printer = w.form->reports()->printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    const fs::path all = w.folder / "all.pdf";
    printer.setOutputFileName(QString::fromStdString(all.string()));
    w.item("PrintMainWindow")->trigger();
    auto words = pdfWords(all);
    ASSERT_EQ(pageCount(words), 2);
    for (int k = 1; k <= 7; ++k) {
        const Word* number = findWord(words, std::to_string(k) + ".");
        const Word* name = findWord(words, "Cube" + std::to_string(k));
        ASSERT_TRUE(number && name) << k;
        EXPECT_EQ(number->page, k <= 6 ? 1 : 2);
        EXPECT_NEAR(number->x, findWord(words, "1.")->x, 0.5);
        EXPECT_GT(name->x, number->x);
        EXPECT_GT(name->y, number->y);
    }
    EXPECT_NEAR(findWord(words, "7.")->y, findWord(words, "1.")->y, 0.5);

    w.click(1);
    w.click(4, Qt::ControlModifier);
    const fs::path some = w.folder / "some.pdf";
    printer.setOutputFileName(QString::fromStdString(some.string()));
    w.item("PrintSelectedCubes")->trigger();
    words = pdfWords(some);
    EXPECT_EQ(pageCount(words), 1);
    ASSERT_TRUE(findWord(words, "Cube2") && findWord(words, "Cube5"));
    EXPECT_FALSE(findWord(words, "Cube1"));
    EXPECT_FALSE(findWord(words, "3."));
    EXPECT_TRUE(w.prompts.shown.empty());
}

TEST(Print, APrinterThatCannotStartIsReported) {
    ListWindow w;
    w.add(cubeOf("R U"), "one", "U' R'  (2f)");
    QPrinter& printer = w.form->reports()->printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString((w.folder / "no" / "such" / "folder.pdf").string()));
    w.item("PrintMainWindow")->trigger();
    ASSERT_EQ(w.prompts.shown.size(), 1u);
    EXPECT_EQ(w.prompts.shown[0].caption, "Error");
    EXPECT_EQ(w.prompts.shown[0].text, "Printing could not start. Choose a printer, or a PDF file, in Printer Setup.");
}

}  // namespace
}  // namespace tx::ui::test
