#pragma once
// Small text helpers shared by every layer.
#include <string_view>

namespace tx {

// Blanks and control characters, as trimmed from typed texts, file lines and INI values.
constexpr bool isBlankOrControl(char ch) { return static_cast<unsigned char>(ch) <= ' '; }

// The text without leading and trailing blanks and control characters.
constexpr std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlankOrControl(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlankOrControl(s.back())) s.remove_suffix(1);
    return s;
}

}  // namespace tx
