#pragma once
#include "platform/keyboard_layout.h"

namespace tastomat {

// Key names from the active keyboard layout, via the key's scan code.
class WinKeyboardLayout final : public KeyboardLayout {
  public:
    std::string key_name(unsigned virtual_key) override;
    bool types_character(unsigned virtual_key) override;
};

}  // namespace tastomat
