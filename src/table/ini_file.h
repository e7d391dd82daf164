#pragma once
// The settings file held in memory: read whole, changed, written back whole.
//
// Reading trims every line, key and value, and splits an entry at its first "=". Names are
// compared without regard to ASCII letter case. Writing replaces an existing entry where it
// stands (with the key spelled as written), appends a new key at the end of its section
// and a new section at the end of the file. Every line the program does not write itself
// (comments, text before the first section, sections nobody asked about) is written back
// where it stood. The file keeps the encoding it was found in; a new file is ANSI, and an
// ANSI file whose text no longer fits the code page becomes UTF-16 LE with its mark. Lines
// end with CR LF and every section is followed by one empty line.
#include <string>
#include <string_view>
#include <vector>

#include "platform/code_page.h"
#include "platform/file_system.h"
#include "table/text_encoding.h"

namespace tastomat {

class IniFile {
  public:
    // Reads the whole file; a missing file gives an empty copy. A file that exists but
    // cannot be read throws FileError.
    IniFile(std::string path, FileSystem& files, CodePage& code_page);

    const std::string& path() const { return path_; }
    TextEncoding encoding() const { return encoding_; }

    bool section_exists(std::string_view section) const;
    bool value_exists(std::string_view section, std::string_view key) const;

    // Every entry of every section, in file order (duplicates included).
    struct Entry {
        std::string section, key, value;
        bool operator==(const Entry&) const = default;
    };
    std::vector<Entry> entries() const;

    std::string read_string(std::string_view section, std::string_view key,
                            std::string_view default_value) const;
    void write_string(std::string_view section, std::string_view key, std::string_view value);

    // Decimal, or hexadecimal after "0x" or "$"; anything else gives the default.
    int read_integer(std::string_view section, std::string_view key, int default_value) const;
    void write_integer(std::string_view section, std::string_view key, int value);

    // True for any non-zero integer; written as "1" or "0".
    bool read_bool(std::string_view section, std::string_view key, bool default_value) const;
    void write_bool(std::string_view section, std::string_view key, bool value);

    // The file as it would be written, as UTF-8 text and as encoded bytes.
    std::string text() const;
    std::string bytes() const;

    // Writes the whole content back. Throws FileError; the file on disk then keeps its
    // previous content.
    void update_file();

  private:
    struct Line {
        std::string key;  // an entry's key; any other line as it was read
        std::string value;
        bool is_entry = false;
    };
    struct Section {
        std::string name;
        std::vector<Line> lines;
    };

    void parse(std::string_view text);
    const Section* find_section(std::string_view name) const;
    Section* find_section(std::string_view name);
    const Line* find_entry(std::string_view section, std::string_view key) const;
    TextEncoding encoding_for(const std::string& text) const;

    std::string path_;
    FileSystem& files_;
    CodePage& code_page_;
    TextEncoding encoding_ = TextEncoding::Ansi;
    std::vector<Line> preamble_;  // lines before the first section
    std::vector<Section> sections_;
};

// Parses an integer the way the settings file stores them; false when it does not parse.
bool parse_ini_integer(std::string_view text, int& value);

// Strips blanks and control characters at both ends.
std::string_view trim_blanks(std::string_view text);

// Calls f for every line; CR LF, LF and a lone CR all end a line.
template <typename F>
void for_each_ini_line(std::string_view text, F f) {
    // Each line end is looked for with one memchr-like scan per kind, not byte by byte:
    // a settings file may be megabytes of foreign text.
    size_t next_cr = text.find('\r'), next_lf = text.find('\n');
    for (size_t start = 0; start < text.size();) {
        if (next_cr < start) next_cr = text.find('\r', start);
        if (next_lf < start) next_lf = text.find('\n', start);
        const size_t end = next_cr < next_lf ? next_cr : next_lf;
        if (end == std::string_view::npos) {
            f(text.substr(start));
            return;
        }
        f(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
}

}  // namespace tastomat
