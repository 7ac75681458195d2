#pragma once
// Numbers as the console reads and writes them: strict decimal parsing (the whole text, no
// hexadecimal floats, no infinities) and the shortest text of a double that reads back the same.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace wheelright::console {

// "3", "-3", "2.5", "-0", "0.1".
std::string shortestText(double value);

std::optional<std::int64_t> parseInteger(std::string_view text);
// Decimal digits with an optional sign, fraction and exponent; finite results only.
std::optional<double> parseDecimal(std::string_view text);

}  // namespace wheelright::console
