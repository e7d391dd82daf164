#include "ui/status_bar.h"

#include <commctrl.h>

namespace tastomat::ui {

StatusBar::StatusBar(Form& form, std::string name, int height)
    : Control(form, std::move(name), ControlKind::Other, DesignRect{0, 0, 0, height}),
      height_(height) {
    create_window(STATUSCLASSNAMEW, L"", 0);
    int whole_width = -1;
    SendMessageW(hwnd(), SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&whole_width));
    layout();
}

void StatusBar::set_status(const std::wstring& text) {
    SendMessageW(hwnd(), SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void StatusBar::layout() {
    if (!hwnd()) return;
    // The bar places itself along the bottom of its parent when told the size changed.
    SendMessageW(hwnd(), SB_SETMINHEIGHT, static_cast<WPARAM>(form().scale(height_)), 0);
    SendMessageW(hwnd(), WM_SIZE, 0, 0);
}

}  // namespace tastomat::ui
