#include "platform/code_page.h"

#include <array>

#include "platform/utf.h"

namespace tastomat {
namespace {

// Bytes 0x80-0x9F; everything else equals Latin-1. The five bytes Windows-1252 leaves
// undefined map to the C1 controls of the same value, as the system does, so that no
// byte of an existing file is lost on the way through.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char16_t byte_to_unit(unsigned char b) {
    if (b >= 0x80 && b <= 0x9F) return kHighControls[b - 0x80];
    return b;
}

char unit_to_byte(char16_t u) {
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return static_cast<char>(u);
    for (size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == u) return static_cast<char>(0x80 + i);
    }
    return '?';
}

}  // namespace

bool CodePage::fits(std::string_view text) {
    // The round trip asks the code page itself, so the system's own idea of what it can
    // hold decides, not a table of ours.
    return to_utf8(from_utf8(text)) == text;
}

// Settings files are mostly ASCII: only the other characters need the table.
std::string Windows1252::to_utf8(std::string_view bytes) {
    return convert_non_ascii(bytes, [](std::string_view b, size_t& i, std::string& out) {
        append_utf8(out, byte_to_unit(static_cast<unsigned char>(b[i++])));
    });
}

std::string Windows1252::from_utf8(std::string_view text) {
    return convert_non_ascii(text, [](std::string_view t, size_t& i, std::string& out) {
        // A character outside the basic plane is one '?', not two.
        const char32_t c = next_code_point(t, i);
        out += c > 0xFFFF ? '?' : unit_to_byte(static_cast<char16_t>(c));
    });
}

}  // namespace tastomat
