#pragma once
// The texts of the info dialog and the update check that follow the user's language, and
// the one formatter of their placeholders.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace tastomat {

// "\r" starts a new line in a message box; %f and %d are filled by format_message.
struct InfoTexts {
    std::string date_prefix;
    std::string update_question;
    std::string unzip_failed;
    std::string save_filter;
    std::string caption_prefix;
    std::string progress;
    std::string downloaded;
    std::string connect_failed;
    std::string up_to_date;
};

const InfoTexts& german_texts();
const InfoTexts& english_texts();

// language as from language_of: German for 0, English for anything else.
const InfoTexts& texts_for_language(int language);

struct InfoButtonCaptions {
    std::string getnewversion, homepagebut, emailbut;
};
// language as from language_of: 0 German, anything else English.
InfoButtonCaptions button_captions(int language);

using MessageArgument = std::variant<double, std::int64_t>;

// Fills each %f (fixed point, two decimals, the given decimal separator) and %d (decimal
// integer) with the next argument in turn; a placeholder without an argument stays.
std::string format_message(std::string_view text, std::initializer_list<MessageArgument> args,
                           char decimal_separator);

}  // namespace tastomat
