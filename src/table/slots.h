#pragma once
// The numbering of the 48 launch slots: the letters A-Z are 0-25, the digits 0-9 are
// 26-35 and the function keys F1-F12 are 36-47. The settings file's sections and the
// launcher's keys both follow it.

namespace tastomat {

inline constexpr int kSlotCount = 48;
inline constexpr int kLetterCount = 26;
inline constexpr int kFirstDigitSlot = 26;
inline constexpr int kFirstFunctionKeySlot = 36;

enum class SlotGroup { Letter, Digit, FunctionKey };

constexpr SlotGroup slot_group(int slot) {
    if (slot < kFirstDigitSlot) return SlotGroup::Letter;
    if (slot < kFirstFunctionKeySlot) return SlotGroup::Digit;
    return SlotGroup::FunctionKey;
}

// capital is 'A'..'Z'.
constexpr int letter_slot(char32_t capital) { return static_cast<int>(capital - U'A'); }
// digit is 0..9.
constexpr int digit_slot(int digit) { return kFirstDigitSlot + digit; }
// number is 1..12 (F1..F12).
constexpr int function_key_slot(int number) { return kFirstFunctionKeySlot + number - 1; }

// The key's own character or number within its group: 'A'.., 0.., 1..
constexpr int slot_key_number(int slot) {
    switch (slot_group(slot)) {
        case SlotGroup::Letter:
            return 'A' + slot;
        case SlotGroup::Digit:
            return slot - kFirstDigitSlot;
        case SlotGroup::FunctionKey:
            break;
    }
    return slot - kFirstFunctionKeySlot + 1;
}

static_assert(letter_slot(U'Z') == 25 && digit_slot(9) == 35 && function_key_slot(12) == 47);

}  // namespace tastomat
