#pragma once
// What the launcher tells the user when one of its hotkeys could not be registered, which
// almost always means another program holds the same combination.
#include <optional>
#include <string>

#include "components/shortcut.h"
#include "platform/keyboard_layout.h"

namespace tastomat {

// The balloon text for a hotkey that was just set, or nothing when there is nothing to
// say: no key, a key that was registered, or a modifier key on its own (the first key of a
// combination the user is still typing).
std::optional<std::string> hotkey_taken_warning(TShortCut key, bool registered,
                                                KeyboardLayout& layout);

}  // namespace tastomat
