// Prints the visible top-level windows of the Wine session from top to bottom, one line
// each: title, a tab, and 1 when the window is topmost. The end-to-end scenarios read
// window stacking from here: there is no window manager to ask.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

BOOL CALLBACK print_window(HWND hwnd, LPARAM) {
    if (!IsWindowVisible(hwnd)) return TRUE;
    wchar_t title[256] = {};
    GetWindowTextW(hwnd, title, 256);
    char utf8[1024] = {};
    WideCharToMultiByte(CP_UTF8, 0, title, -1, utf8, sizeof utf8, nullptr, nullptr);
    const bool topmost = (GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    std::printf("%s\t%d\n", utf8, topmost ? 1 : 0);
    return TRUE;
}

}  // namespace

int wmain() {
    EnumWindows(print_window, 0);
    return 0;
}
