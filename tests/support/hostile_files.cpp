#include "support/hostile_files.h"

#include <cstdint>

#include "platform/utf.h"
#include "settings_ui/settings_file_session.h"
#include "support/fakes.h"
#include "table/ini_file.h"
#include "table/text_encoding.h"

namespace tastomat::test {
namespace {

constexpr std::string_view kSlotE = "C:\\Tools\\e.exe";
const std::string kTable = "[Buchstaben]\r\nE=C:\\Tools\\e.exe\r\n";

// The same bytes on every run, so that a failure can be repeated.
std::string garbage(size_t size) {
    std::string out;
    out.reserve(size);
    std::uint32_t state = 0x2545F491;
    for (size_t i = 0; i < size; ++i) {
        state = state * 1664525u + 1013904223u;
        out += static_cast<char>(state >> 24);
    }
    return out;
}

// A foreign section of long entries, a block of them repeated up to the size.
std::string lines_up_to(size_t size) {
    std::string block;
    for (int n = 0; n < 64; ++n)
        block += "k" + std::to_string(n) + "=" + std::string(240, static_cast<char>('a' + n % 26)) +
                 "\r\n";
    std::string out = kTable + "[Fremd]\r\n";
    out.reserve(size + block.size());
    while (out.size() < size) out += block;
    return out;
}

std::string many_sections(int count) {
    std::string out;
    for (int i = 0; i < count; ++i) out += "[S" + std::to_string(i) + "]\r\nk=v\r\n";
    return out + kTable;
}

// A line as the reader sees it: a header's name, an entry's key and value, or the line.
struct Significant {
    enum Kind { Header, Entry, Other } kind = Other;
    std::string_view a, b;
    bool operator==(const Significant& o) const {
        return kind == o.kind && iequals_ascii(a, o.a) && b == o.b;
    }
};

Significant significant(std::string_view raw) {
    const std::string_view line = trim_blanks(raw);
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']')
        return {Significant::Header, trim_blanks(line.substr(1, line.size() - 2)), {}};
    const size_t eq = line.find('=');
    if (line.front() == ';' || eq == std::string_view::npos) return {Significant::Other, {}, line};
    return {Significant::Entry, trim_blanks(line.substr(0, eq)), trim_blanks(line.substr(eq + 1))};
}

std::vector<Significant> significant_lines(std::string_view text) {
    std::vector<Significant> out;
    for_each_ini_line(text, [&](std::string_view line) {
        if (!trim_blanks(line).empty()) out.push_back(significant(line));
    });
    return out;
}

std::string what_went_wrong(const HostileFile& f, const std::string& settings_file,
                            const FormStateFile& storage, Clock& clock) {
    FileSystem& files = storage.files;
    CodePage& cp = storage.code_page;
    SettingsFileSession session(settings_file, storage);
    FakeSettingsWindow window;
    ProgramTable table;
    IniFile ini = session.open(window, table);
    session.finish_open(table, ini, clock);
    if (f.slot_e && table.Progs[4] != *f.slot_e) return "slot E holds " + table.Progs[4];
    if (table.list_line(4) != "E: " + table.Progs[4]) return "list line " + table.list_line(4);
    session.save(window, table);

    // The file that was read: the settings file itself, as a damaged backup never
    // replaces it.
    const DecodedText read = decode_text(f.settings, cp);
    const DecodedText saved = decode_text(files.read_file(settings_file).value_or(""), cp);
    if (saved.encoding != read.encoding) return "the file changed its encoding";
    const std::vector<std::string> lost = lost_lines(read.text, saved.text);
    if (!lost.empty()) return "the save lost the line " + lost.front().substr(0, 80);
    ProgramTable again;
    again.load(IniFile(settings_file, files, cp));
    if (again.Progs != table.Progs || again.Parameter != table.Parameter)
        return "the table reads back differently";
    return {};
}

}  // namespace

std::string start_then_save(const HostileFile& file, const std::string& settings_file,
                            const FormStateFile& storage, Clock& clock) {
    try {
        return what_went_wrong(file, settings_file, storage, clock);
    } catch (const std::exception& e) {
        return e.what();
    }
}

std::string utf16le(std::u16string_view text) {
    std::string out;
    for (const char16_t u : text) {
        out += static_cast<char>(u & 0xFF);
        out += static_cast<char>(u >> 8);
    }
    return out;
}

std::vector<HostileFile> hostile_files() {
    const std::string e = std::string(kSlotE);
    const std::string fffd = "\xEF\xBF\xBD";
    return {
        {"binary garbage", garbage(size_t{64} * 1024), std::nullopt, std::nullopt},
        {"a lone UTF-8 mark", "\xEF\xBB\xBF", std::nullopt, ""},
        {"a lone UTF-16 LE mark", "\xFF\xFE", std::nullopt, ""},
        {"a lone UTF-16 BE mark", "\xFE\xFF", std::nullopt, ""},
        {"UTF-16 with an odd byte count", "\xFF\xFE" + utf16le(u"[Buchstaben]\r\nE=C:\\e") + "x",
         std::nullopt, "C:\\e" + fffd},
        {"invalid UTF-8 after a UTF-8 mark",
         "\xEF\xBB\xBF[Buchstaben]\r\nE=C:\\\xC3(\xFF\xED\xA0\x80\xF0\x9F.exe\r\n", std::nullopt,
         "C:\\" + fffd + "(" + fffd + fffd + fffd + ".exe"},
        {"unpaired surrogates in UTF-16",
         "\xFF\xFE" + utf16le(u"[Buchstaben]\r\nE=C:\\\xD800x\xDC00.exe\r\n"), std::nullopt,
         "C:\\" + fffd + "x" + fffd + ".exe"},
        {"a 20 MB file", lines_up_to(20 << 20), std::nullopt, e},
        {"one line of 1 MB", kTable + "PE=" + std::string(1 << 20, 'p') + "\r\n", std::nullopt, e},
        {"a section header without \"]\"", "[Buchstaben\r\nE=C:\\Tools\\e.exe\r\n", std::nullopt,
         ""},
        {"10,000 sections", many_sections(10000), std::nullopt, e},
        {"a slot value of 100,000 characters",
         "[Buchstaben]\r\nE=C:\\" + std::string(100000 - 3, 'a') + "\r\n", std::nullopt,
         "C:\\" + std::string(100000 - 3, 'a')},
        {"a backup that is itself damaged", kTable, garbage(4096), e},
    };
}

std::vector<std::string> lost_lines(std::string_view before, std::string_view after) {
    // A save changes entries where they stand and adds lines after the others, so what
    // was read must come back in the same order, with other lines between.
    const std::vector<Significant> had = significant_lines(before);
    const std::vector<Significant> has = significant_lines(after);
    std::vector<std::string> lost;
    size_t j = 0;
    for (const Significant& line : had) {
        while (j < has.size() && !(has[j] == line)) ++j;
        if (j == has.size()) {
            lost.push_back(std::string(line.a) + (line.kind == Significant::Entry ? "=" : "") +
                           std::string(line.b));
            break;  // everything after it would count as lost too
        }
        ++j;
    }
    return lost;
}

}  // namespace tastomat::test
