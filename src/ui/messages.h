#pragma once
// The program's private window messages, in one list, each with a number of its own: a
// message posted to the wrong window then means nothing there rather than something else.
// WM_APP and up, which no system control uses. The number 1324 of the hand-over between
// two copies is fixed by the older copies that send it and lives with the guard.
#include <windows.h>

namespace tastomat::ui {

// The tray icon's notifications, to the window that owns it (tray_icon.h).
inline constexpr UINT kTrayCallback = WM_APP + 0x01;
// Tasks posted back to the window's thread (task_window.h).
inline constexpr UINT kRunTasks = WM_APP + 0x40;
// Errors waiting to be shown, to the error queue's window (window.cpp).
inline constexpr UINT kReportErrors = WM_APP + 0x51;
// Posted to itself by a window that lost the activation (placement.h).
inline constexpr UINT kLeftActivation = WM_APP + 0x52;

}  // namespace tastomat::ui
