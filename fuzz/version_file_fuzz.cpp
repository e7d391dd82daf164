// The version file on any bytes, as any server may send them: a number comes out only
// where the text starts with one, it is finite and not negative, and nothing after the
// leading run of digits and commas changes it.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "info/version_file.h"

namespace {

void require(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
}

bool in_run(char ch) { return (ch >= '0' && ch <= '9') || ch == ','; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using tastomat::parse_version_file;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<double> value = parse_version_file(text);
    if (value) {
        require(std::isfinite(*value) && *value >= 0, "a number that is no version");
        require(!text.empty() && in_run(text.front()),
                "a number from a text that starts with none");
    }
    std::size_t run = 0;
    while (run < text.size() && in_run(text[run])) ++run;
    const std::string cut = std::string(text.substr(0, run)) + "\r\n";
    require(parse_version_file(cut) == value, "the rest of the text changed the number");
    return 0;
}
