#include "table/text_encoding.h"

#include "platform/utf.h"

namespace tastomat {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

std::string utf16_bytes_to_utf8(std::string_view bytes, bool big_endian) {
    std::u16string units;
    units.reserve(bytes.size() / 2 + 1);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto b0 = static_cast<unsigned char>(bytes[i]);
        const auto b1 = static_cast<unsigned char>(bytes[i + 1]);
        units += static_cast<char16_t>(big_endian ? (b0 << 8) | b1 : (b1 << 8) | b0);
    }
    // A dangling odd byte is damage, but it must not vanish without a trace.
    if (bytes.size() % 2 != 0) units += u'\uFFFD';
    return utf16_to_utf8(units);
}

std::string utf8_to_utf16_bytes(std::string_view text, bool big_endian) {
    const std::u16string units = utf8_to_utf16(text);
    std::string out;
    out.reserve(units.size() * 2);
    for (const char16_t u : units) {
        const char hi = static_cast<char>(u >> 8);
        const char lo = static_cast<char>(u & 0xFF);
        out += big_endian ? hi : lo;
        out += big_endian ? lo : hi;
    }
    return out;
}

}  // namespace

TextEncoding detect_encoding(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Mark)) return TextEncoding::Utf8Bom;
    if (bytes.starts_with(kUtf16LeMark)) return TextEncoding::Utf16Le;
    if (bytes.starts_with(kUtf16BeMark)) return TextEncoding::Utf16Be;
    return TextEncoding::Ansi;
}

DecodedText decode_text(std::string_view bytes, CodePage& code_page) {
    const TextEncoding encoding = detect_encoding(bytes);
    switch (encoding) {
        case TextEncoding::Utf8Bom:
            // Damage after the mark must not travel on as bytes that are no text.
            return {valid_utf8(bytes.substr(kUtf8Mark.size())), encoding};
        case TextEncoding::Utf16Le:
            return {utf16_bytes_to_utf8(bytes.substr(kUtf16LeMark.size()), false), encoding};
        case TextEncoding::Utf16Be:
            return {utf16_bytes_to_utf8(bytes.substr(kUtf16BeMark.size()), true), encoding};
        case TextEncoding::Ansi:
            break;
    }
    return {code_page.to_utf8(bytes), TextEncoding::Ansi};
}

std::string encode_text(std::string_view utf8, TextEncoding encoding, CodePage& code_page) {
    switch (encoding) {
        case TextEncoding::Utf8Bom:
            return std::string(kUtf8Mark) + std::string(utf8);
        case TextEncoding::Utf16Le:
            return std::string(kUtf16LeMark) + utf8_to_utf16_bytes(utf8, false);
        case TextEncoding::Utf16Be:
            return std::string(kUtf16BeMark) + utf8_to_utf16_bytes(utf8, true);
        case TextEncoding::Ansi:
            break;
    }
    return code_page.from_utf8(utf8);
}

}  // namespace tastomat
