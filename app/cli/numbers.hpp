#pragma once
// The one way the command line reads numbers: the whole text must be a decimal number within
// the range the option allows. "20abc", "1e1", "nan", "+3", "" and (where the range has no
// negatives) "-5" are refused with one line on stderr; the command then exits with code 2.
#include <optional>
#include <string>
#include <string_view>

#include "command.hpp"

namespace tx::cli {

// Digits, with a leading "-" only when low is negative.
std::optional<long long> parseWholeNumber(std::string_view text, long long low, long long high);
// Digits with an optional fraction ("2", "0.5"); no sign, exponent or spelled-out values.
std::optional<double> parseDecimalNumber(std::string_view text, double low, double high);

// Takes option `name` from args (fallback when it is absent). A value that is not a number in
// range is reported as "tesserix-cli COMMAND: NAME needs ..., not 'TEXT'" and gives nullopt.
std::optional<long long> takeWholeOption(Args& args, const char* command, const std::string& name,
                                         long long fallback, long long low, long long high);
std::optional<double> takeDecimalOption(Args& args, const char* command, const std::string& name, double fallback,
                                        double low, double high);

}  // namespace tx::cli
