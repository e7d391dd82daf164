#include "platform/keyboard_layout.h"

#include <algorithm>
#include <array>

namespace tastomat {
namespace {

// The keys of the PC keyboard that send 0xE0 before their scan code, by virtual-key code:
// right Ctrl and Alt, Insert, Delete, Home, End, Page Up and Down, the arrows, Break,
// Print Screen, the keypad's "/", the Windows and application keys; and Num Lock, which
// sends no prefix but whose key messages carry the extended bit all the same. Not every
// layout reports the prefix for all of them (Wine's, for one, gives the keypad's "/" none).
constexpr std::array<unsigned, 19> kExtendedKeys{
    0xA3, 0xA5, 0x2D, 0x2E, 0x24, 0x23, 0x21, 0x22, 0x25, 0x26,
    0x27, 0x28, 0x03, 0x2C, 0x6F, 0x5B, 0x5C, 0x5D, 0x90,
};

}  // namespace

unsigned long key_name_data(unsigned virtual_key, KeyScanCodes codes) {
    constexpr unsigned long kExtendedBit = 1ul << 24;
    const unsigned prefix = codes.with_prefix >> 8;
    // Pause, the one key of the 0xE1 set, sends 0xE1 0x1D 0x45, and the layout names it by
    // that 0x45 without the extended bit; the 0x1D after the prefix would name Ctrl.
    constexpr unsigned kPauseNameCode = 0x45;
    const unsigned scan_code = prefix == 0xE1 ? kPauseNameCode : codes.with_prefix & 0xFFu;
    if (scan_code == 0) return 0;
    const bool extended = prefix == 0xE0 || std::find(kExtendedKeys.begin(), kExtendedKeys.end(),
                                                      virtual_key) != kExtendedKeys.end();
    return static_cast<unsigned long>(scan_code) << 16 | (extended ? kExtendedBit : 0);
}

}  // namespace tastomat
