#include "components/shortcut.h"

#include <array>

#include "platform/utf.h"

namespace tastomat {
namespace {

struct NamedKey {
    std::uint8_t code;
    std::string_view name;
};

constexpr std::array<NamedKey, 15> kNamedKeys{{
    {8, "Rück"},
    {9, "Tab"},
    {13, "Eingabe"},
    {27, "Esc"},
    {32, "Leer"},
    {33, "BildAuf"},
    {34, "BildAb"},
    {35, "Ende"},
    {36, "Pos1"},
    {37, "Links"},
    {38, "Auf"},
    {39, "Rechts"},
    {40, "Ab"},
    {45, "Einfg"},
    {46, "Entf"},
}};

struct Prefix {
    std::string_view text;
    TShortCut bit;
};

constexpr std::array<Prefix, 4> kPrefixes{{
    {"Umsch+", kShortCutShift},
    {"^", kShortCutCtrl},
    {"Strg+", kShortCutCtrl},
    {"Alt+", kShortCutAlt},
}};

// The highest code whose name TextToShortCut looks for.
constexpr int kLastScannedCode = 597;

std::string key_name(std::uint8_t key, KeyboardLayout& layout) {
    for (const NamedKey& named : kNamedKeys) {
        if (named.code == key) return std::string(named.name);
    }
    if (key >= '0' && key <= '9') return std::string(1, static_cast<char>(key));
    if (key >= 'A' && key <= 'Z') return std::string(1, static_cast<char>(key));
    if (key >= 96 && key <= 105) return std::string(1, static_cast<char>('0' + key - 96));
    if (key >= 112 && key <= 135) return "F" + std::to_string(key - 111);
    return layout.key_name(key);
}

// Letter case as a German user sees it: ASCII and the Latin-1 letters (Ä, Ö, Ü, ...), which
// covers the built-in names ("Rück") and the layout's names of the German keys.
char16_t fold_case(char16_t c) {
    if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 0x20);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 0x20);
    return c;
}

bool same_text_ignoring_case(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (fold_case(a[i]) != fold_case(b[i])) return false;
    }
    return true;
}

bool starts_with_ignoring_case(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && iequals_ascii(text.substr(0, prefix.size()), prefix);
}

// Strips the leading modifier prefixes and returns their bits.
TShortCut take_modifiers(std::string_view& text) {
    TShortCut modifiers = 0;
    for (bool found = true; found;) {
        found = false;
        for (const Prefix& prefix : kPrefixes) {
            if (starts_with_ignoring_case(text, prefix.text)) {
                modifiers |= prefix.bit;
                text.remove_prefix(prefix.text.size());
                found = true;
                break;
            }
        }
    }
    return modifiers;
}

}  // namespace

bool takes_as_hotkey(std::uint16_t key, ShiftState shift, KeyboardLayout& layout) {
    if (shift.contains(ShiftState::Ctrl) || shift.contains(ShiftState::Alt)) return true;
    constexpr std::uint16_t kBackspace = 8, kEscape = 27, kSpace = 32;
    constexpr std::uint16_t kNumpad0 = 0x60, kNumpadDivide = 0x6F;
    const bool letter_or_digit = (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z');
    const bool numpad = key >= kNumpad0 && key <= kNumpadDivide;
    const bool typing = key == kBackspace || key == kEscape || key == kSpace || letter_or_digit ||
                        numpad || layout.types_character(key);
    return !typing;
}

TShortCut ShortCut(std::uint16_t key, ShiftState shift) {
    if (key > 255) return 0;
    TShortCut value = key;
    if (shift.contains(ShiftState::Shift)) value |= kShortCutShift;
    if (shift.contains(ShiftState::Ctrl)) value |= kShortCutCtrl;
    if (shift.contains(ShiftState::Alt)) value |= kShortCutAlt;
    return value;
}

void ShortCutToKey(TShortCut value, std::uint16_t& key, ShiftState& shift) {
    key = static_cast<std::uint16_t>(value & ~kShortCutModifiers);
    shift = ShiftState();
    if (value & kShortCutShift) shift |= ShiftState::Shift;
    if (value & kShortCutCtrl) shift |= ShiftState::Ctrl;
    if (value & kShortCutAlt) shift |= ShiftState::Alt;
}

std::string ShortCutToText(TShortCut value, KeyboardLayout& layout) {
    const std::string name = key_name(static_cast<std::uint8_t>(value & 0xFF), layout);
    if (name.empty()) return {};
    std::string text;
    if (value & kShortCutShift) text += "Umsch+";
    if (value & kShortCutCtrl) text += "Strg+";
    if (value & kShortCutAlt) text += "Alt+";
    return text + name;
}

TShortCut TextToShortCut(std::string_view text, KeyboardLayout& layout) {
    const TShortCut modifiers = take_modifiers(text);
    if (text.empty()) return 0;
    const std::u16string wanted = utf8_to_utf16(text);
    for (int code = 8; code <= kLastScannedCode; ++code) {
        const std::string name = ShortCutToText(static_cast<TShortCut>(code), layout);
        if (!name.empty() && same_text_ignoring_case(wanted, utf8_to_utf16(name))) {
            return static_cast<TShortCut>(code | modifiers);
        }
    }
    return 0;
}

}  // namespace tastomat
