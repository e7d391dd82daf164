#include "app/hotkey_warning.h"

namespace tastomat {
namespace {

// Shift, Ctrl, Alt, the Windows keys and their left and right variants.
bool is_modifier_key(std::uint16_t key) {
    return (key >= 0x10 && key <= 0x12) || key == 0x5B || key == 0x5C ||
           (key >= 0xA0 && key <= 0xA5);
}

}  // namespace

std::optional<std::string> hotkey_taken_warning(TShortCut key, bool registered,
                                                KeyboardLayout& layout) {
    std::uint16_t code = 0;
    ShiftState shift;
    ShortCutToKey(key, code, shift);
    if (registered || code == 0 || is_modifier_key(code & 0xFF)) return std::nullopt;
    const std::string text = ShortCutToText(key, layout);
    if (text.empty()) return std::nullopt;
    return text + " ist bereits von einem anderen Programm belegt.";
}

}  // namespace tastomat
