#pragma once
// What a key press in the launcher window asks the window to do. The window keeps one
// KeyDispatch, feeds it every key-down and typed character, and carries out the command.
#include <cstdint>

#include "platform/keys.h"

namespace tastomat {

struct KeyCommand {
    enum Kind {
        None,          // the window stays as it is
        StartSlot,     // Startprog for `slot`, then the window hides
        Verbergen,     // hide the window (Escape)
        Quit,          // Beenden1Click, then HideMainForm
        OpenSettings,  // Einstellungen1Click (modal when newly opened), then HideMainForm
        HideMainForm,  // only hide
    };
    Kind kind = None;
    int slot = -1;

    bool operator==(const KeyCommand&) const = default;
};

class KeyDispatch {
  public:
    // key is the virtual-key code; F1..F12 start their slots whatever modifiers are held.
    KeyCommand Formkeydown(std::uint16_t key, ShiftState shift);
    // character is the typed UTF-16 code unit.
    KeyCommand Formkeypress(char16_t character) const;

    // Whether Ctrl was held at the last key-down: a character typed then is a command.
    bool Ctrl = false;
};

}  // namespace tastomat
