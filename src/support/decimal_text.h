#pragma once
// Numbers are formatted and parsed in the C locale, which this program never changes, so
// their decimal point is "."; what the user reads and types has the separator of the
// user's locale.
#include <algorithm>
#include <string>

namespace tastomat {

inline std::string with_decimal_separator(std::string c_text, char separator) {
    std::replace(c_text.begin(), c_text.end(), '.', separator);
    return c_text;
}

inline std::string with_decimal_point(std::string user_text, char separator) {
    std::replace(user_text.begin(), user_text.end(), separator, '.');
    return user_text;
}

}  // namespace tastomat
