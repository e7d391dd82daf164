#pragma once
// A popup menu whose items call handlers; shared by a window's context menu and the
// tray icon.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/win32/scoped.h"

namespace tastomat::ui {

// Where a context menu opens: at the mouse, or, when the menu key or Shift+F10 asked for it
// (the message's point is then (-1, -1)), inset pixels into the window it belongs to.
POINT context_menu_point(LPARAM lp, HWND anchor, int inset);

class PopupMenu {
  public:
    using Handler = std::function<void()>;

    PopupMenu();
    // Appends an item; returns its command id.
    UINT add(const std::wstring& name, const std::wstring& text, Handler handler,
             HBITMAP bitmap = nullptr);

    // Component-style access by name (the form-state store saves a menu item's check).
    bool checked(const std::wstring& name) const;
    void set_checked(const std::wstring& name, bool on);
    // The caller keeps the bitmap alive while the menu shows it.
    void set_bitmap(const std::wstring& name, HBITMAP bitmap);

    // Shows the menu at a screen position with owner as the tracking window and runs the
    // chosen item's handler after the menu has closed.
    void track(HWND owner, POINT at);

  private:
    struct Item {
        std::wstring name;
        UINT id;
        Handler handler;
    };
    const Item* find(const std::wstring& name) const;
    ScopedMenu menu_;
    std::vector<Item> items_;
};

}  // namespace tastomat::ui
