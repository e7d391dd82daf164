#include "info/info_texts.h"

#include <cstdio>
#include <vector>

#include "support/decimal_text.h"

namespace tastomat {

const InfoTexts& german_texts() {
    static const InfoTexts texts{
        "vom ",
        "Version %f, auf dem Server ist %f.\rAktualisieren?",
        "ZIP Entpacker kann nicht ge\u00f6ffnet werden !",
        "Alles (*.*)|*.*",
        "Info \u00fcber ",
        "Heruntergeladen %d von %d Bytes",
        "Installierte Version %f\rVersion auf dem Server %f\rBitte beenden Sie nun zuerst "
        "dieses Programm.\rDanach entpacken Sie nun die Dateien im Zip Archiv in ihr "
        "Programmverzeichnis",
        "Problem beim Verbinden mit dem Server",
        "Derzeit befindet sich keine aktuellere Version auf dem Server",
    };
    return texts;
}

const InfoTexts& english_texts() {
    static const InfoTexts texts{
        "from : ",
        "Version %f, on the Server you find %f.\rdo you want to upgrade?",
        "ZIP Decompressor can not be started!",
        "Anything (*.*)|*.*",
        "Info about ",
        "%d of %d Bytes downloaded",
        "Installed version %f\rVersion on the Server %f\rPlease close now this program.\rafter "
        "that pleas unzip the files of the zip archive in the installation folder",
        "Error when connecting the server!",
        "You have the actual version installed!",
    };
    return texts;
}

const InfoTexts& texts_for_language(int language) {
    return language == 0 ? german_texts() : english_texts();
}

InfoButtonCaptions button_captions(int language) {
    if (language == 0) return {"&Neue Version", "&Homepage", "&Mail schreiben"};
    return {"&Get new version", "Visit &homepage", "Send &email"};
}

namespace {

std::string fixed_two(double value, char decimal_separator) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.2f", value);
    return with_decimal_separator(buffer, decimal_separator);
}

std::string integer(std::int64_t value) { return std::to_string(value); }

}  // namespace

std::string format_message(std::string_view text, std::initializer_list<MessageArgument> args,
                           char decimal_separator) {
    const std::vector<MessageArgument> values(args);
    size_t next = 0;
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool placeholder =
            text[i] == '%' && i + 1 < text.size() && (text[i + 1] == 'f' || text[i + 1] == 'd');
        if (!placeholder || next == values.size()) {
            out += text[i];
            continue;
        }
        const MessageArgument& value = values[next++];
        if (text[++i] == 'f') {
            out += fixed_two(std::holds_alternative<double>(value)
                                 ? std::get<double>(value)
                                 : static_cast<double>(std::get<std::int64_t>(value)),
                             decimal_separator);
        } else {
            out += integer(std::holds_alternative<std::int64_t>(value)
                               ? std::get<std::int64_t>(value)
                               : static_cast<std::int64_t>(std::get<double>(value)));
        }
    }
    return out;
}

}  // namespace tastomat
