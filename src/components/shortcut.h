#pragma once
// Shortcut values (a virtual-key code plus modifier bits) and their German text form
// ("Alt+F12", "Strg+Umsch+..." is written "Umsch+Strg+..."), as the settings file stores
// them and the shortcut fields show them.
#include <string>
#include <string_view>

#include "platform/keyboard_layout.h"
#include "platform/keys.h"

namespace tastomat {

// Whether a key pressed in a hotkey field becomes the hotkey. A key that types a character
// (letters, digits, punctuation, space), Escape and Backspace do not unless Ctrl or Alt is
// held: as a system-wide hotkey they would be taken from every application, and Escape
// keeps its meaning in the window. Modifier keys and F-keys alone are taken.
bool takes_as_hotkey(std::uint16_t key, ShiftState shift, KeyboardLayout& layout);

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
