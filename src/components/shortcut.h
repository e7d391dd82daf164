#pragma once
// Shortcut values (a virtual-key code plus modifier bits) and their German text form
// ("Alt+F12", "Strg+Umsch+..." is written "Umsch+Strg+..."), as the settings file stores
// them and the shortcut fields show them.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/keyboard_layout.h"

namespace tastomat {

using TShortCut = std::uint16_t;

inline constexpr TShortCut kShortCutShift = 0x2000;
inline constexpr TShortCut kShortCutCtrl = 0x4000;
inline constexpr TShortCut kShortCutAlt = 0x8000;
inline constexpr TShortCut kShortCutModifiers = kShortCutShift | kShortCutCtrl | kShortCutAlt;

// The modifier keys and mouse buttons held during a key or mouse event.
class ShiftState {
  public:
    enum Flag : std::uint8_t {
        Shift = 0x01,
        Alt = 0x02,
        Ctrl = 0x04,
        Left = 0x08,
        Right = 0x10,
        Middle = 0x20,
        Double = 0x40,
    };

    constexpr ShiftState() = default;
    constexpr ShiftState(Flag flag) : bits_(flag) {}  // NOLINT: a single flag is a state

    constexpr bool contains(Flag flag) const { return (bits_ & flag) != 0; }
    constexpr bool empty() const { return bits_ == 0; }
    constexpr ShiftState operator|(ShiftState other) const {
        return ShiftState(static_cast<std::uint8_t>(bits_ | other.bits_));
    }
    constexpr ShiftState& operator|=(ShiftState other) { return *this = *this | other; }
    constexpr bool operator==(const ShiftState&) const = default;

  private:
    constexpr explicit ShiftState(std::uint8_t bits) : bits_(bits) {}
    std::uint8_t bits_ = 0;
};

constexpr ShiftState operator|(ShiftState::Flag a, ShiftState::Flag b) {
    return ShiftState(a) | ShiftState(b);
}

// 0 for a key code above 255; otherwise the key with the bits of the held modifiers.
TShortCut ShortCut(std::uint16_t key, ShiftState shift);

// Splits a value into the key (modifier bits cleared) and the held modifiers.
void ShortCutToKey(TShortCut value, std::uint16_t& key, ShiftState& shift);

// "Umsch+", "Strg+", "Alt+" in that order, then the name of the low byte's key. Keys
// outside the built-in German names are named by the layout; a key without a name gives "".
std::string ShortCutToText(TShortCut value, KeyboardLayout& layout);

// Accepts the modifier prefixes ("^" for Ctrl too) in any order and letter case, then a key
// name as ShortCutToText writes it; 0 when no key matches.
TShortCut TextToShortCut(std::string_view text, KeyboardLayout& layout);

}  // namespace tastomat
