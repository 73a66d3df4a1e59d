#include "searches/pattern_file.hpp"

#include <sstream>
#include <vector>

namespace tx {

namespace {

struct Line {
    int number;
    std::string text;
};

// The lines that carry something, comments and surrounding blanks removed.
std::vector<Line> meaningfulLines(std::string_view text) {
    std::vector<Line> lines;
    std::istringstream in{std::string(text)};
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (const auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        const auto first = line.find_first_not_of(" \t\r");
        if (first == std::string::npos) continue;
        const auto last = line.find_last_not_of(" \t\r");
        lines.push_back({number, line.substr(first, last - first + 1)});
    }
    return lines;
}

// "row N [faces LETTERS|none]": the row index 0..4 and its faces.
bool readHeader(const std::string& text, int& row, std::array<bool, 6>& faces, std::string& why) {
    std::istringstream in(text);
    std::string word, number;
    in >> word >> number;
    if (word != "row") {
        why = "expected \"row N\", found \"" + text + "\"";
        return false;
    }
    if (number.size() != 1 || number[0] < '1' || number[0] > '5') {
        why = "the row number must be 1 to 5";
        return false;
    }
    row = number[0] - '1';
    faces.fill(true);
    if (!(in >> word)) return true;
    if (word != "faces") {
        why = "expected \"faces\" after the row number, found \"" + word + "\"";
        return false;
    }
    faces.fill(false);
    std::string letters;
    for (std::string part; in >> part;) letters += part;
    if (letters == "none") return true;
    if (letters.empty()) {
        why = "\"faces\" needs face letters U R F D L B or \"none\"";
        return false;
    }
    for (char ch : letters) {
        const int face = colorOfLetter(ch);
        if (face < 0) {
            why = std::string("unknown face letter '") + ch + "' (use U R F D L B)";
            return false;
        }
        if (faces[face]) {
            why = std::string("face ") + ch + " is named twice";
            return false;
        }
        faces[face] = true;
    }
    return true;
}

// Three palette values 1..6, blanks between them optional.
bool readGridLine(const std::string& text, std::uint8_t* cells, std::string& why) {
    std::string digits;
    for (char ch : text)
        if (ch != ' ' && ch != '\t') digits += ch;
    if (digits.size() != 3) {
        why = "expected three palette values 1 to 6, found \"" + text + "\"";
        return false;
    }
    for (int k = 0; k < 3; ++k) {
        if (digits[k] < '1' || digits[k] > '6') {
            why = std::string("palette values are 1 to 6, found '") + digits[k] + "'";
            return false;
        }
        cells[k] = std::uint8_t(digits[k] - '0');
    }
    return true;
}

}  // namespace

std::optional<PatternSet> readPatternText(std::string_view text, std::string& error) {
    PatternSet set;
    for (auto& faces : set.faces) faces.fill(false);
    std::array<bool, kPatternRows> seen{};
    const auto lines = meaningfulLines(text);
    for (std::size_t i = 0; i < lines.size();) {
        std::string why;
        int row = 0;
        std::array<bool, 6> faces{};
        if (!readHeader(lines[i].text, row, faces, why)) {
            error = "line " + std::to_string(lines[i].number) + ": " + why;
            return std::nullopt;
        }
        if (seen[row]) {
            error = "line " + std::to_string(lines[i].number) + ": row " + std::to_string(row + 1) + " is given twice";
            return std::nullopt;
        }
        seen[row] = true;
        set.faces[row] = faces;
        const int header = lines[i].number;
        ++i;
        for (int line = 0; line < 3; ++line, ++i) {
            if (i == lines.size()) {
                error = "line " + std::to_string(header) + ": row " + std::to_string(row + 1) +
                        " needs three lines of three values";
                return std::nullopt;
            }
            if (!readGridLine(lines[i].text, &set.rows[row][3 * line], why)) {
                error = "line " + std::to_string(lines[i].number) + ": " + why;
                return std::nullopt;
            }
        }
    }
    return set;
}

}  // namespace tx
