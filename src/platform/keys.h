#pragma once
// Key values shared by the launcher, the hotkey components and the widget layer: the held
// modifiers of a key event and the shortcut value that packs a key with its modifiers.
#include <cstdint>

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

}  // namespace tastomat
