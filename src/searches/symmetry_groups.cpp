#include "searches/symmetry_groups.hpp"

#include <cctype>

#include "cube/symmetry.hpp"

namespace tx {

namespace {

constexpr std::string_view kEdgeTurn = "Half turn about an edge axis";
constexpr std::string_view kEdgeMirror = "Mirror plane through edges";
constexpr std::string_view kFaceHalfTurn = "Half turn about a face axis";
constexpr std::string_view kFaceQuarterTurn = "Quarter turn about a face axis";
constexpr std::string_view kFaceMirror = "Mirror plane parallel to a face";
constexpr std::string_view kRotoreflection = "Quarter turn combined with inversion";
constexpr std::string_view kCornerTurn = "Third turn about a corner diagonal";
constexpr std::string_view kInversion = "Central inversion";

bool has(std::uint64_t mask, int k) { return (mask >> k) & 1; }

std::string squeezed(std::string_view text) {
    std::string out;
    for (char ch : text)
        if (ch != ' ') out += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return out;
}

std::vector<PointGroupItem> makeItems() {
    return {
        {"Oh", "48", "4", {"SBmc", "SBr31", "SBr41"}, {1, 2, 4}},
        {"O", "24", "4", {"SBr2e2", "SBr31", "SBr41"}, {6}},
        {"Td", "24", "4", {"SBr31", "SBme1"}, {6}},
        {"D3d", "12", "16", {"SBmc", "SBr31", "SBr2e2"}, {5, 8, 15}},
        {"Th ", "24", "24", {"SBr31", "SBmf1"}, {6}},
        {"C3v", "6", "48", {"SBr31", "SBme2"}, {26}},
        {"T", "12", "72", {"SBr31", "SBr2f1"}, {}},
        {"D4h", "16", "128", {"SBmc", "SBr41", "SBr2e2"}, {9, 10, 11, 12, 13, 14, 16}},
        {"D3", "6", "432", {"SBr31", "SBr2e2"}, {26}},
        {"D4", "8", "512", {"SBr41", "SBr2f2"}, {20, 21, 22}},
        {"D2d (face)", "8", "512", {"SBm41", "SBr2f2"}, {17, 22, 23}},
        {"C4v", "8", "1024", {"SBr41", "SBme1"}, {17, 21, 25}},
        {"C4h", "8", "1536", {"SBmc", "SBr41"}, {21, 23, 24}},
        {"D2h (edge)", "8", "2048", {"SBmc", "SBr2e1", "SBr2e2"}, {17, 18, 19, 20, 24}},
        {"D2d (edge)", "8", "3072", {"SBm41", "SBr2e2"}, {20, 23, 25}},
        {"S6", "6", "7776", {"SBmc", "SBr31"}, {26}},
        {"D2h (face)", "8", "12288", {"SBr2f2", "SBmc", "SBr2f1"}, {22, 24, 25}},
        {"C2v (a1)", "4", "65536", {"SBme1", "SBr2f1"}, {27, 29}},
        {"C2v (b)", "4", "98304", {"SBmf1", "SBr2e2"}, {27, 28, 30}},
        {"C2h (b)", "4", "98304", {"SBmc", "SBr2e2"}, {34, 28, 31}},
        {"D2 (edge)", "4", "98304", {"SBr2e1", "SBr2e2"}, {28, 29}},
        {"C4", "4", "147,456", {"SBr41"}, {29}},
        {"D2 (face)", "4", "294,912", {"SBr2f1", "SBr2f2"}, {29}},
        {"S4", "4", "442,368", {"SBm41"}, {29}},
        {"C2h (a)", "4", "589,824", {"SBmc", "SBr2f1"}, {29, 30, 31}},
        {"C2v (a2)", "4", "1,179,648", {"SBmf2", "SBr2f1"}, {29, 33}},
        {"C3", "3", "3,779,136", {"SBr31"}, {}},
        {"Cs (b)", "2", "424,673,280", {"SBme1"}, {32}},
        {"C2 (b)", "2", "2,548,039,680", {"SBr2e2"}, {32}},
        {"C2 (a)", "2", "15,288,238,080", {"SBr2f1"}, {32}},
        {"Cs (a)", "2", "18,345,885,696", {"SBmf1"}, {32}},
        {"Ci", "2", "45,864,714,240", {"SBmc"}, {32}},
        {"C1 (Identitiy)", "1", "4.3252*10^19", {}, {}},
    };
}

}  // namespace

const std::array<SymmetryButton, 29> kSymmetryButtons = {{
    {"SBr2e1", 14, kEdgeTurn},       {"SBr2e2", 10, kEdgeTurn},       {"SBr2e3", 18, kEdgeTurn},
    {"SBr2e4", 42, kEdgeTurn},       {"SBr2e5", 26, kEdgeTurn},       {"SBr2e6", 38, kEdgeTurn},
    {"SBme1", 7, kEdgeMirror},       {"SBme2", 3, kEdgeMirror},       {"SBme3", 27, kEdgeMirror},
    {"SBme4", 35, kEdgeMirror},      {"SBme5", 19, kEdgeMirror},      {"SBme6", 47, kEdgeMirror},
    {"SBr2f1", 4, kFaceHalfTurn},    {"SBr2f2", 12, kFaceHalfTurn},   {"SBr2f3", 8, kFaceHalfTurn},
    {"SBr41", 2, kFaceQuarterTurn},  {"SBr42", 22, kFaceQuarterTurn}, {"SBr43", 34, kFaceQuarterTurn},
    {"SBmf1", 9, kFaceMirror},       {"SBmf2", 1, kFaceMirror},       {"SBmf3", 5, kFaceMirror},
    {"SBm41", 11, kRotoreflection},  {"SBm42", 23, kRotoreflection},  {"SBm43", 39, kRotoreflection},
    {"SBr31", 16, kCornerTurn},      {"SB26", 20, kCornerTurn},       {"SB27", 24, kCornerTurn},
    {"SB28", 28, kCornerTurn},       {"SBmc", 13, kInversion},
}};

const SymmetryButton* symmetryButton(std::string_view name) {
    for (const auto& b : kSymmetryButtons)
        if (b.name == name) return &b;
    return nullptr;
}

std::uint64_t buttonTagMask() {
    std::uint64_t mask = 0;
    for (const auto& b : kSymmetryButtons) mask |= std::uint64_t{1} << b.tag;
    return mask;
}

const std::vector<PointGroupItem>& pointGroupItems() {
    static const std::vector<PointGroupItem> items = makeItems();
    return items;
}

std::string_view subgroupText(int row) {
    if (row == 33) row = 30;
    if (row == 34) row = 27;
    return pointGroupItems().at(static_cast<std::size_t>(row)).text;
}

SymmetryGroup closeGroup(std::uint64_t symmetries, std::uint64_t antisymmetries) {
    const auto& product = tx::symmetries().symProduct;
    SymmetryGroup g{symmetries | 1, antisymmetries};
    for (bool changed = true; changed;) {
        changed = false;
        const SymmetryGroup before = g;
        for (int i = 0; i < kSymmetries; ++i) {
            const bool si = has(before.symmetries, i), ai = has(before.antisymmetries, i);
            if (!si && !ai) continue;
            for (int j = 0; j < kSymmetries; ++j) {
                const bool sj = has(before.symmetries, j), aj = has(before.antisymmetries, j);
                const std::uint64_t bit = std::uint64_t{1} << product[i][j];
                if ((si && sj) || (ai && aj)) g.symmetries |= bit;
                if ((si && aj) || (ai && sj)) g.antisymmetries |= bit;
            }
        }
        changed = !(g == before);
    }
    return g;
}

namespace {

// Whether T^-1 S T lies in `target` for every S in `set`.
bool conjugatesInto(int t, std::uint64_t set, std::uint64_t target) {
    const auto& tables = tx::symmetries();
    const int inverse = tables.symInverse[t];
    for (int s = 0; s < kSymmetries; ++s) {
        if (!has(set, s)) continue;
        if (!has(target, tables.symProduct[tables.symProduct[inverse][s]][t])) return false;
    }
    return true;
}

}  // namespace

std::uint64_t normalizer(std::uint64_t symmetries) {
    std::uint64_t mask = 0;
    for (int t = 0; t < kSymmetries; ++t)
        if (conjugatesInto(t, symmetries, symmetries)) mask |= std::uint64_t{1} << t;
    return mask;
}

std::uint64_t normalizer(const SymmetryGroup& group) {
    std::uint64_t mask = 0;
    for (int t = 0; t < kSymmetries; ++t)
        if (conjugatesInto(t, group.symmetries, group.symmetries) &&
            conjugatesInto(t, group.antisymmetries, group.antisymmetries))
            mask |= std::uint64_t{1} << t;
    return mask;
}

bool isIndexTwoSubgroup(int group, int subgroup) {
    const auto& g = GroupMaskTable.at(static_cast<std::size_t>(group));
    const auto& h = GroupMaskTable.at(static_cast<std::size_t>(subgroup));
    return (h.mask & ~g.mask) == 0 && 2 * h.order == g.order;
}

std::vector<int> groupRowsNamed(std::string_view text) {
    const std::string wanted = squeezed(text);
    std::vector<int> rows;
    for (int row = 0; row < static_cast<int>(GroupMaskTable.size()); ++row) {
        if (squeezed(GroupMaskTable[row].name) == wanted || squeezed(subgroupText(row)) == wanted)
            rows.push_back(row);
    }
    return rows;
}

}  // namespace tx
