#pragma once
// The encodings a settings file may have on disk. A byte-order mark decides; a file
// without one is in the ANSI code page.
#include <string>
#include <string_view>

#include "platform/code_page.h"

namespace tastomat {

enum class TextEncoding { Ansi, Utf8Bom, Utf16Le, Utf16Be };

struct DecodedText {
    std::string text;  // UTF-8, without the mark
    TextEncoding encoding = TextEncoding::Ansi;
};

TextEncoding detect_encoding(std::string_view bytes);

// The whole file content to UTF-8 text; what does not decode becomes U+FFFD.
DecodedText decode_text(std::string_view bytes, CodePage& code_page);

// UTF-8 text to file content in the given encoding, mark included.
std::string encode_text(std::string_view utf8, TextEncoding encoding, CodePage& code_page);

}  // namespace tastomat
