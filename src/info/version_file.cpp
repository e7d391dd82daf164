#include "info/version_file.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace tastomat {

std::optional<double> parse_version_file(std::string_view bytes) {
    const auto end = std::find_if(bytes.begin(), bytes.end(),
                                  [](char ch) { return !((ch >= '0' && ch <= '9') || ch == ','); });
    std::string run(bytes.begin(), end);
    if (std::count(run.begin(), run.end(), ',') > 1) return std::nullopt;
    if (std::none_of(run.begin(), run.end(), [](char ch) { return ch != ','; }))
        return std::nullopt;
    std::replace(run.begin(), run.end(), ',', '.');
    // from_chars ignores the locale and rounds to nearest, so "1,14" meets 114 / 100.
    double value = 0;
    const auto [ptr, ec] =
        std::from_chars(run.data(), run.data() + run.size(), value, std::chars_format::fixed);
    if (ec != std::errc{} || ptr != run.data() + run.size()) return std::nullopt;
    return value;
}

}  // namespace tastomat
