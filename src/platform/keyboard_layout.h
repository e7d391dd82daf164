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

}  // namespace tastomat
