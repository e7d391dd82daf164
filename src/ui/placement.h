#pragma once
#include <windows.h>

namespace tastomat::ui {

// The settings windows open near the bottom-right corner of the primary screen, clear of
// the taskbar: top = screen height - window height - 40, left = screen width - width - 16.
inline void place_bottom_right(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    const int left = GetSystemMetrics(SM_CXSCREEN) - width - 16;
    const int top = GetSystemMetrics(SM_CYSCREEN) - height - 40;
    SetWindowPos(hwnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Keeps a window opened from the launcher above the badge, which is always on top.
// Deliberately not by making the badge its owner: under Wine a window that owns another
// is handed to the X window manager for good, and the badge would no longer receive the
// keyboard when a hotkey brings it up.
inline void stay_above_launcher(HWND hwnd) {
    SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace tastomat::ui
