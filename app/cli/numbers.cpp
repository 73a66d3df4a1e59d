#include "numbers.hpp"

#include <cstdio>

namespace tx::cli {

namespace {

bool allDigits(std::string_view text) {
    if (text.empty()) return false;
    for (char ch : text)
        if (ch < '0' || ch > '9') return false;
    return true;
}

// The value of a digit string, or nullopt beyond 18 digits (more than any option allows).
std::optional<long long> digitValue(std::string_view digits) {
    while (digits.size() > 1 && digits.front() == '0') digits.remove_prefix(1);
    if (digits.size() > 18) return std::nullopt;
    long long value = 0;
    for (char ch : digits) value = 10 * value + (ch - '0');
    return value;
}

std::string numberText(double v) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", v);
    return buffer;
}

void refuse(const char* command, const std::string& name, const std::string& wanted, const std::string& text) {
    std::fprintf(stderr, "tesserix-cli %s: %s needs %s, not '%s'\n", command, name.c_str(), wanted.c_str(),
                 text.c_str());
}

}  // namespace

std::optional<long long> parseWholeNumber(std::string_view text, long long low, long long high) {
    const bool negative = low < 0 && !text.empty() && text.front() == '-';
    if (negative) text.remove_prefix(1);
    if (!allDigits(text)) return std::nullopt;
    const auto magnitude = digitValue(text);
    if (!magnitude) return std::nullopt;
    const long long value = negative ? -*magnitude : *magnitude;
    if (value < low || value > high) return std::nullopt;
    return value;
}

std::optional<double> parseDecimalNumber(std::string_view text, double low, double high) {
    const auto point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    if (!allDigits(whole) || (point != std::string_view::npos && !allDigits(fraction))) return std::nullopt;
    const auto wholeValue = digitValue(whole);
    if (!wholeValue) return std::nullopt;
    double value = static_cast<double>(*wholeValue), scale = 1;
    for (char ch : fraction) {
        scale /= 10;
        value += (ch - '0') * scale;
    }
    if (value < low || value > high) return std::nullopt;
    return value;
}

std::optional<long long> takeWholeOption(Args& args, const char* command, const std::string& name,
                                         long long fallback, long long low, long long high) {
    constexpr const char* kAbsent = "\n";  // no typed value can be a line end
    const std::string text = takeOption(args, name, kAbsent);
    if (text == kAbsent) return fallback;
    const auto value = parseWholeNumber(text, low, high);
    if (!value)
        refuse(command, name, "a whole number from " + std::to_string(low) + " to " + std::to_string(high), text);
    return value;
}

std::optional<double> takeDecimalOption(Args& args, const char* command, const std::string& name, double fallback,
                                        double low, double high) {
    constexpr const char* kAbsent = "\n";
    const std::string text = takeOption(args, name, kAbsent);
    if (text == kAbsent) return fallback;
    const auto value = parseDecimalNumber(text, low, high);
    if (!value) refuse(command, name, "a number from " + numberText(low) + " to " + numberText(high), text);
    return value;
}

}  // namespace tx::cli
