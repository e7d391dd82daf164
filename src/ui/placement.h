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

// Makes `parent` the window this one stays above (its owner).
inline void set_popup_parent(HWND hwnd, HWND parent) {
    SetWindowLongPtrW(hwnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(parent));
}

}  // namespace tastomat::ui
