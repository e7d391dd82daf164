#pragma once
// Where the settings windows open, as a rule over plain rectangles so that it holds for any
// taskbar: free of <windows.h>.

namespace tastomat::ui {

// Screen coordinates, right and bottom exclusive, as Windows gives a work area.
struct ScreenRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const ScreenRect&) const = default;
};

struct ScreenPoint {
    int x = 0, y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

// The gap between a settings window and the right edge of the work area.
inline constexpr int kRightGap = 16;

// Top-left corner for a window of the given outer size near the bottom-right corner of the
// work area (the screen less the taskbar, wherever that sits): its bottom on the work area's
// bottom, its right edge kRightGap inside. A window larger than the work area keeps its
// title bar and left edge inside it, where the user can still take hold of it.
constexpr ScreenPoint bottom_right_in(const ScreenRect& work_area, int width, int height) {
    const int left = work_area.right - kRightGap - width;
    const int top = work_area.bottom - height;
    return {left > work_area.left ? left : work_area.left,
            top > work_area.top ? top : work_area.top};
}

}  // namespace tastomat::ui
