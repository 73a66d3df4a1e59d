#pragma once
// The symmetry groups the symmetry search offers: the symmetry buttons, the 33 point groups
// of the group list with their orders, cube counts, generators and index-2 subgroups, and
// the group arithmetic behind the buttons (closure of symmetries and antisymmetries, the
// normaliser). Symmetry sets are 48-bit masks, bit k for symmetry k.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tx {

constexpr std::uint64_t kAllSymmetries = 0xFFFFFFFFFFFFull;

struct SymmetryButton {
    std::string_view name;  // objectName of the button
    int tag;                // the symmetry index
    std::string_view hint;  // the kind of element
};
// The 29 symmetry buttons of the symmetry tab, grouped by kind.
extern const std::array<SymmetryButton, 29> kSymmetryButtons;
// Button with that objectName, or nullptr.
const SymmetryButton* symmetryButton(std::string_view name);
// Mask of the tags of all buttons.
std::uint64_t buttonTagMask();

struct PointGroupItem {
    std::string_view text;    // item text of the group list
    std::string_view order;   // shown in LSymN
    std::string_view cubes;   // shown in LSymSize: the number of cubes with that symmetry
    std::vector<std::string_view> generators;  // buttons pressed when the group is chosen
    std::vector<int> subgroups;                // GroupMaskTable rows of the index-2 subgroups
};
// Items 0..32 of the group list; item i uses GroupMaskTable row i.
const std::vector<PointGroupItem>& pointGroupItems();
// The text the index-2 subgroup list shows for a GroupMaskTable row (rows 33 and 34 carry
// the texts of rows 30 and 27).
std::string_view subgroupText(int row);

// A set of symmetries and of antisymmetries (S c S^-1 = c^-1), closed under products.
struct SymmetryGroup {
    std::uint64_t symmetries = 1;
    std::uint64_t antisymmetries = 0;
    bool operator==(const SymmetryGroup&) const = default;
};

// Adds the identity to the symmetries and closes both sets under products: two symmetries
// or two antisymmetries give a symmetry, one of each an antisymmetry.
SymmetryGroup closeGroup(std::uint64_t symmetries, std::uint64_t antisymmetries);
// The symmetries T with T^-1 S T in `symmetries` for every S in `symmetries`.
std::uint64_t normalizer(std::uint64_t symmetries);
// The symmetries T that map the symmetries onto themselves and the antisymmetries onto
// themselves: conjugating a cube of the group by T gives a cube of the same group.
std::uint64_t normalizer(const SymmetryGroup& group);

// True when row `subgroup` is a subgroup of row `group` with half its order.
bool isIndexTwoSubgroup(int group, int subgroup);

// The GroupMaskTable rows named by an item text of the group list or a name of the table,
// compared without blanks and case ("Cs (a)" names rows 30 and 33). Row numbers are not
// names: the command line reads them as it reads every number.
std::vector<int> groupRowsNamed(std::string_view text);

}  // namespace tx
