#include "table/text_encoding.h"

#include <gtest/gtest.h>

namespace tastomat {
namespace {

// "Prüfung € 𝄞" - umlaut, a Windows-1252 high character and one outside the basic plane.
const std::string kMixed =
    "Pr\xC3\xBC"
    "fung \xE2\x82\xAC \xF0\x9D\x84\x9E";

TEST(TextEncoding, MarkedFilesKeepTheirEncodingThroughARoundTrip) {
    Windows1252 cp;
    const TextEncoding marked[] = {TextEncoding::Utf8Bom, TextEncoding::Utf16Le,
                                   TextEncoding::Utf16Be};
    for (const TextEncoding enc : marked) {
        const std::string bytes = encode_text(kMixed, enc, cp);
        const DecodedText back = decode_text(bytes, cp);
        EXPECT_EQ(back.encoding, enc);
        EXPECT_EQ(back.text, kMixed);
        EXPECT_EQ(encode_text(back.text, back.encoding, cp), bytes);
    }
}

TEST(TextEncoding, Utf16ByteOrderAndMarks) {
    Windows1252 cp;
    EXPECT_EQ(encode_text("A\xC3\xBC", TextEncoding::Utf16Le, cp), std::string("\xFF\xFE"
                                                                               "A\0\xFC\0",
                                                                               6));
    EXPECT_EQ(encode_text("A\xC3\xBC", TextEncoding::Utf16Be, cp),
              std::string("\xFE\xFF\0A\0\xFC", 6));
    EXPECT_EQ(encode_text("A", TextEncoding::Utf8Bom, cp),
              "\xEF\xBB\xBF"
              "A");
    // The surrogate pair of U+1D11E in little-endian order.
    EXPECT_EQ(decode_text(std::string("\xFF\xFE\x34\xD8\x1E\xDD", 6), cp).text, "\xF0\x9D\x84\x9E");
}

TEST(TextEncoding, UnmarkedFileIsAnsiEvenWhenItLooksLikeUtf8) {
    Windows1252 cp;
    const DecodedText d = decode_text("A=\xC3\xBC", cp);  // UTF-8 bytes of "ü", no mark
    EXPECT_EQ(d.encoding, TextEncoding::Ansi);
    EXPECT_EQ(d.text, "A=\xC3\x83\xC2\xBC");  // read as the two characters Ã¼
    EXPECT_EQ(encode_text(d.text, d.encoding, cp), "A=\xC3\xBC");
}

TEST(TextEncoding, AnsiWritesWindows1252AndReplacesWhatItCannotHold) {
    Windows1252 cp;
    EXPECT_EQ(encode_text("\xC3\x9C\xE2\x82\xAC", TextEncoding::Ansi, cp), "\xDC\x80");  // Ü€
    // An arrow and a character outside the basic plane become one '?' each.
    EXPECT_EQ(encode_text("a\xE2\x86\x92"
                          "b\xF0\x9D\x84\x9E"
                          "c",
                          TextEncoding::Ansi, cp),
              "a?b?c");
    EXPECT_EQ(decode_text("", cp).encoding, TextEncoding::Ansi);
}

// Damage in a marked file becomes U+FFFD, one per broken piece, and the text around it
// stays where it was.
TEST(TextEncoding, DecodingErrorsBecomeReplacementCharacters) {
    const std::string r = "\xEF\xBF\xBD";
    struct Case {
        const char* what;
        std::string bytes;
        std::string text;
    };
    const Case cases[] = {
        {"UTF-8: stray continuation byte",
         "\xEF\xBB\xBF"
         "a\x80"
         "b",
         "a" + r + "b"},
        {"UTF-8: lead byte without its continuation",
         "\xEF\xBB\xBF"
         "a\xC3"
         "b",
         "a" + r + "b"},
        {"UTF-8: sequence cut off at the end",
         "\xEF\xBB\xBF"
         "a\xE2\x82",
         "a" + r},
        {"UTF-8: overlong form of '/'", "\xEF\xBB\xBF\xC0\xAF", r},
        {"UTF-8: encoded surrogate", "\xEF\xBB\xBF\xED\xA0\x80", r},
        {"UTF-8: beyond U+10FFFF", "\xEF\xBB\xBF\xF4\x90\x80\x80", r},
        {"UTF-8: bytes that never start a character", "\xEF\xBB\xBF\xFE\xFF", r + r},
        {"UTF-16 LE: high surrogate alone",
         std::string("\xFF\xFE\x00\xD8"
                     "a\0",
                     6),
         r + "a"},
        {"UTF-16 LE: low surrogate alone",
         std::string("\xFF\xFE"
                     "a\0\x00\xDC",
                     6),
         "a" + r},
        {"UTF-16 BE: two high surrogates", std::string("\xFE\xFF\xD8\x00\xD8\x01", 6), r + r},
        {"UTF-16 LE: odd byte count",
         std::string("\xFF\xFE"
                     "a\0b",
                     5),
         "a" + r},
    };
    Windows1252 cp;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const DecodedText d = decode_text(c.bytes, cp);
        EXPECT_EQ(d.text, c.text);
        EXPECT_EQ(d.encoding, detect_encoding(c.bytes));
    }
}

TEST(Windows1252, EveryByteSurvivesARoundTrip) {
    Windows1252 cp;
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(cp.from_utf8(cp.to_utf8(all)), all);
    EXPECT_EQ(cp.to_utf8("\x80\x8A\x9F"), "\xE2\x82\xAC\xC5\xA0\xC5\xB8");  // € Š Ÿ
}

}  // namespace
}  // namespace tastomat
