#pragma once
// The density of a window and the size of its frame, on every Windows from 7 on. The
// per-window functions came with Windows 10 1607 and are looked up at run time: imported,
// they would keep the program from starting at all on anything older.
#include <windows.h>

namespace tastomat::ui {

// The functions of the running system, or nullptr where it lacks them. Tests put other
// ones in place to run as on an older Windows.
struct DpiFunctions {
    UINT(WINAPI* dpi_for_window)(HWND) = nullptr;
    BOOL(WINAPI* adjust_window_rect_for_dpi)(RECT*, DWORD, BOOL, DWORD, UINT) = nullptr;
};
DpiFunctions& dpi_functions();

// What the system says the window's density is, or 0 where it cannot say.
UINT reported_window_dpi(HWND hwnd);
// The density of the screen the session started with: every window's before Windows 8.1.
UINT system_dpi();
// Grows a client rectangle to the window rectangle of a window with these styles at dpi.
// Older systems draw the frame at the system's density whatever the window's, which is what
// AdjustWindowRectEx measures.
void adjust_window_rect(RECT& rect, DWORD style, DWORD ex_style, UINT dpi);

}  // namespace tastomat::ui
