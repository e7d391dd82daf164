#include "table/ini_file.h"

#include <cstdint>
#include <utility>

#include "platform/utf.h"

namespace tastomat {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

// The empty line after each section is the writer's own; blank lines at a section's end
// are that separator and are written as one.
template <typename Section>
void drop_trailing_blank_lines(Section* section) {
    if (!section) return;
    auto& lines = section->lines;
    while (!lines.empty() && !lines.back().is_entry && trim_blanks(lines.back().key).empty())
        lines.pop_back();
}

int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string_view trim_blanks(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
    return text;
}

bool parse_ini_integer(std::string_view text, int& value) {
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.starts_with('$')) {
        base = 16;
        text.remove_prefix(1);
    } else if (text.starts_with("0x") || text.starts_with("0X")) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty()) return false;
    // Hexadecimal covers the full 32 bits (so "$FFFFFFFF" is -1); decimal must fit.
    const std::int64_t limit = base == 16 ? 0xFFFFFFFFLL : (negative ? 0x80000000LL : 0x7FFFFFFFLL);
    std::int64_t result = 0;
    for (const char c : text) {
        const int digit = hex_digit(c);
        if (digit < 0 || digit >= base) return false;
        result = result * base + digit;
        if (result > limit) return false;
    }
    if (negative) result = -result;
    value = static_cast<int>(static_cast<std::uint32_t>(result));
    return true;
}

IniFile::IniFile(std::string path, FileSystem& files, CodePage& code_page)
    : path_(std::move(path)), files_(files), code_page_(code_page) {
    const std::optional<std::string> content = files_.read_file(path_);
    if (!content) return;
    DecodedText decoded = decode_text(*content, code_page_);
    encoding_ = decoded.encoding;
    parse(decoded.text);
}

void IniFile::parse(std::string_view text) {
    Section* current = nullptr;
    for_each_ini_line(text, [&](std::string_view raw) {
        const std::string_view line = trim_blanks(raw);
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            drop_trailing_blank_lines(current);
            sections_.push_back({std::string(trim_blanks(line.substr(1, line.size() - 2))), {}});
            current = &sections_.back();
            return;
        }
        const size_t eq = line.find('=');
        // Comments, blank lines, text without "=" and whatever stands before the first
        // section are nobody's entries, but they are the user's: they stay as written.
        if (!current || line.empty() || line.front() == ';' || eq == std::string_view::npos) {
            (current ? current->lines : preamble_).push_back({std::string(raw), {}, false});
            return;
        }
        current->lines.push_back({std::string(trim_blanks(line.substr(0, eq))),
                                  std::string(trim_blanks(line.substr(eq + 1))), true});
    });
    drop_trailing_blank_lines(current);
}

const IniFile::Section* IniFile::find_section(std::string_view name) const {
    for (const Section& s : sections_) {
        if (iequals_ascii(s.name, name)) return &s;
    }
    return nullptr;
}

IniFile::Section* IniFile::find_section(std::string_view name) {
    for (Section& s : sections_) {
        if (iequals_ascii(s.name, name)) return &s;
    }
    return nullptr;
}

const IniFile::Line* IniFile::find_entry(std::string_view section, std::string_view key) const {
    const Section* s = find_section(section);
    if (!s) return nullptr;
    for (const Line& l : s->lines) {
        if (l.is_entry && iequals_ascii(l.key, key)) return &l;
    }
    return nullptr;
}

std::vector<IniFile::Entry> IniFile::entries() const {
    std::vector<Entry> out;
    for (const Section& s : sections_) {
        for (const Line& l : s.lines) {
            if (l.is_entry) out.push_back({s.name, l.key, l.value});
        }
    }
    return out;
}

bool IniFile::section_exists(std::string_view section) const {
    return find_section(section) != nullptr;
}

bool IniFile::value_exists(std::string_view section, std::string_view key) const {
    return find_entry(section, key) != nullptr;
}

std::string IniFile::read_string(std::string_view section, std::string_view key,
                                 std::string_view default_value) const {
    const Line* e = find_entry(section, key);
    return std::string(e ? std::string_view(e->value) : default_value);
}

void IniFile::write_string(std::string_view section, std::string_view key, std::string_view value) {
    Section* s = find_section(section);
    if (!s) {
        sections_.push_back({std::string(section), {}});
        s = &sections_.back();
    }
    for (Line& l : s->lines) {
        if (l.is_entry && iequals_ascii(l.key, key)) {
            l.key = key;
            l.value = value;
            return;
        }
    }
    s->lines.push_back({std::string(key), std::string(value), true});
}

int IniFile::read_integer(std::string_view section, std::string_view key, int default_value) const {
    const Line* e = find_entry(section, key);
    int value = 0;
    return e && parse_ini_integer(e->value, value) ? value : default_value;
}

void IniFile::write_integer(std::string_view section, std::string_view key, int value) {
    write_string(section, key, std::to_string(value));
}

bool IniFile::read_bool(std::string_view section, std::string_view key, bool default_value) const {
    return read_integer(section, key, default_value ? 1 : 0) != 0;
}

void IniFile::write_bool(std::string_view section, std::string_view key, bool value) {
    write_string(section, key, value ? "1" : "0");
}

std::string IniFile::text() const {
    std::string out;
    for (const Line& l : preamble_) out.append(l.key).append(kLineEnd);
    for (const Section& s : sections_) {
        out.append("[").append(s.name).append("]").append(kLineEnd);
        for (const Line& l : s.lines) {
            out.append(l.key);
            if (l.is_entry) out.append("=").append(l.value);
            out.append(kLineEnd);
        }
        out.append(kLineEnd);
    }
    return out;
}

TextEncoding IniFile::encoding_for(const std::string& text) const {
    // A path with a character the code page lacks would point nowhere after a save; the
    // file becomes UTF-16 instead, which the reader and the system's profile functions
    // both know by its mark. A file that fits stays exactly as it was.
    if (encoding_ == TextEncoding::Ansi && !code_page_.fits(text)) return TextEncoding::Utf16Le;
    return encoding_;
}

std::string IniFile::bytes() const {
    const std::string content = text();
    return encode_text(content, encoding_for(content), code_page_);
}

void IniFile::update_file() {
    const std::string content = text();
    const TextEncoding encoding = encoding_for(content);
    files_.replace_file(path_, encode_text(content, encoding, code_page_));
    encoding_ = encoding;
}

}  // namespace tastomat
