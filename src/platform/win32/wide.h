#pragma once
// The one pair of converters between the core's UTF-8 and the Win32 API's UTF-16.
#include <string>
#include <string_view>

#include "platform/utf.h"

namespace tastomat {

inline std::wstring to_wide(std::string_view text) {
    const std::u16string u = utf8_to_utf16(text);
    return std::wstring(u.begin(), u.end());
}

inline std::string to_utf8(std::wstring_view text) {
    return utf16_to_utf8(std::u16string(text.begin(), text.end()));
}

}  // namespace tastomat
