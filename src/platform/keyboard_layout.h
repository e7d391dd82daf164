#pragma once
#include <string>

namespace tastomat {

// Names of keys as the active keyboard layout spells them.
class KeyboardLayout {
  public:
    virtual ~KeyboardLayout() = default;
    // The layout's name for a virtual-key code, "" when the key has no scan code.
    virtual std::string key_name(unsigned virtual_key) = 0;
    // Whether the key types a character in this layout (punctuation, dead keys included).
    virtual bool types_character(unsigned virtual_key) = 0;
};

// What the layout tells of a key's place on the keyboard: its scan code with the prefix of
// the extended set in the high byte (0xE0, or 0xE1 for Pause), as MapVirtualKeyW gives it
// with MAPVK_VK_TO_VSC_EX, and the bare scan code, as it gives with MAPVK_VK_TO_VSC.
struct KeyScanCodes {
    unsigned with_prefix = 0;
    unsigned bare = 0;
};

// The key data GetKeyNameTextW names a key by, as a key message would carry it: the scan
// code in bits 16-23 and, for a key of the extended set (by its prefix, or known to be one),
// bit 24. Without that bit the keypad's "/" (0xE0 0x35) would be named after the key that
// sends 0x35 alone ("-" on a German keyboard), and the text would read back as that other
// key. 0 for a key without a scan code.
unsigned long key_name_data(unsigned virtual_key, KeyScanCodes codes);

}  // namespace tastomat
