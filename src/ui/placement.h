#pragma once
#include <windows.h>

#include <algorithm>

#include "ui/corner_placement.h"
#include "ui/messages.h"

namespace tastomat::ui {

// Places a window centred over another, clamped to the desktop's left and top edges.
inline void center_over(HWND window, HWND owner) {
    RECT w, o;
    GetWindowRect(window, &w);
    if (owner && IsWindowVisible(owner)) {
        GetWindowRect(owner, &o);
    } else {
        o = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    const int width = w.right - w.left, height = w.bottom - w.top;
    const int left = std::max(static_cast<int>(GetSystemMetrics(SM_XVIRTUALSCREEN)),
                              static_cast<int>(o.left + (o.right - o.left - width) / 2));
    const int top = std::max(static_cast<int>(GetSystemMetrics(SM_YVIRTUALSCREEN)),
                             static_cast<int>(o.top + (o.bottom - o.top - height) / 2));
    SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The settings windows open near the bottom-right corner of the primary monitor's work
// area, so that no taskbar (at the bottom, the top or a side, of any height) covers them.
inline void place_bottom_right(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    // The primary monitor is the one that holds the screen's origin.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor)) return;
    const RECT& work = monitor.rcWork;
    const ScreenPoint at = bottom_right_in({work.left, work.top, work.right, work.bottom},
                                           r.right - r.left, r.bottom - r.top);
    SetWindowPos(hwnd, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Keeps a window opened from the launcher above the badge, which is always on top, while
// letting every other application come in front of it: the window is topmost only while it
// is the active one. Deliberately not by making the badge its owner: under Wine a window
// that owns another is handed to the X window manager for good, and the badge would no
// longer receive the keyboard when a hotkey brings it up.
inline void stay_above_launcher(HWND hwnd) {
    SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// Call with every WM_ACTIVATE, and with kLeftActivation. Leaving the topmost band waits
// until the activation has moved on, so that the window can go right below the one that
// took over rather than above every other window.
inline void above_launcher_while_active(HWND hwnd, UINT msg, WPARAM wp) {
    if (msg == WM_ACTIVATE) {
        if (LOWORD(wp) != WA_INACTIVE)
            stay_above_launcher(hwnd);
        else
            PostMessageW(hwnd, kLeftActivation, 0, 0);
        return;
    }
    HWND active = GetForegroundWindow();
    if (active == hwnd || (active && GetAncestor(active, GA_ROOTOWNER) == hwnd)) return;
    constexpr UINT kKeep = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    // Placed after a window that is not topmost, a window stops being topmost itself.
    const bool below_active = active && !(GetWindowLongW(active, GWL_EXSTYLE) & WS_EX_TOPMOST);
    SetWindowPos(hwnd, below_active ? active : HWND_NOTOPMOST, 0, 0, 0, 0, kKeep);
}

}  // namespace tastomat::ui
