#pragma once
// The version file on the update server: a number such as "1,05" at its very start.
#include <optional>
#include <string_view>

namespace tastomat {

// Reads the longest leading run of decimal digits and commas as a decimal number with
// the comma as separator, converted to the nearest double. Anything else ends the run (a
// full stop, a blank, a line break, a byte-order mark): "1.06" reads as 1. Nothing when
// the run holds no number (empty, a lone comma, two commas). Pure over any bytes.
std::optional<double> parse_version_file(std::string_view bytes);

}  // namespace tastomat
