#pragma once
// UTF-8 is the core's one text type; UTF-16 appears in files and at the Win32 boundary.
#include <string>
#include <string_view>

namespace tastomat {

// Ill-formed input is replaced by U+FFFD rather than dropped, so nothing shifts.
std::u16string utf8_to_utf16(std::string_view text);
std::string utf16_to_utf8(std::u16string_view text);

// Decodes the code point at text[i] and moves i past it; an ill-formed sequence gives
// U+FFFD. i must be less than text.size().
char32_t next_code_point(std::string_view text, size_t& i);
void append_utf8(std::string& out, char32_t c);

// The length of the run of ASCII characters at the start of the text.
size_t ascii_run(std::string_view text);

// The text with its runs of ASCII copied whole, which keeps a large file quick to convert,
// and every other character handed to `convert(text, i, out)`, which appends what it
// becomes and moves i past it.
template <typename Convert>
std::string convert_non_ascii(std::string_view text, Convert convert) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const size_t run = ascii_run(text.substr(i));
        out.append(text.substr(i, run));
        i += run;
        if (i < text.size()) convert(text, i, out);
    }
    return out;
}

// The text with every ill-formed sequence replaced by U+FFFD.
std::string valid_utf8(std::string_view text);

// ASCII-only case folding: key names and INI names are compared this way, which is
// what the system does for the names it knows.
std::string ascii_upper(std::string_view text);
bool iequals_ascii(std::string_view a, std::string_view b);

}  // namespace tastomat
