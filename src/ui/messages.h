#pragma once
// The program's private window messages, in one list so that no two mean different things
// to the same window procedure.
#include <windows.h>

namespace tastomat::ui {

// Tasks posted back to the window's thread (task_window.h).
inline constexpr UINT kRunTasks = WM_APP + 0x40;

}  // namespace tastomat::ui
