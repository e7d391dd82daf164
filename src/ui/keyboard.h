#pragma once
#include <windows.h>

#include "platform/keys.h"

namespace tastomat::ui {

// The modifiers held while the current key message was generated.
inline ShiftState current_shift() {
    ShiftState shift;
    if (GetKeyState(VK_SHIFT) < 0) shift |= ShiftState::Shift;
    if (GetKeyState(VK_CONTROL) < 0) shift |= ShiftState::Ctrl;
    if (GetKeyState(VK_MENU) < 0) shift |= ShiftState::Alt;
    return shift;
}

}  // namespace tastomat::ui
