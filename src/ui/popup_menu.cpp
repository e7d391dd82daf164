#include "ui/popup_menu.h"

#include <windowsx.h>

#include "platform/win32/file_system_win.h"

namespace tastomat::ui {

POINT context_menu_point(LPARAM lp, HWND anchor, int inset) {
    POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    if (at.x == -1 && at.y == -1) {
        RECT r{};
        GetWindowRect(anchor, &r);
        at = {r.left + inset, r.top + inset};
    }
    return at;
}

namespace {
constexpr UINT kFirstId = 100;
}

PopupMenu::PopupMenu() : menu_(CreatePopupMenu()) {
    if (!menu_) throw_last_error("CreatePopupMenu");
}

UINT PopupMenu::add(const std::wstring& name, const std::wstring& text, Handler handler,
                    HBITMAP bitmap) {
    const UINT id = kFirstId + static_cast<UINT>(items_.size());
    MENUITEMINFOW mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_ID | MIIM_STRING | (bitmap ? MIIM_BITMAP : 0);
    mi.wID = id;
    mi.dwTypeData = const_cast<wchar_t*>(text.c_str());
    mi.hbmpItem = bitmap;
    InsertMenuItemW(menu_.get(), static_cast<UINT>(items_.size()), TRUE, &mi);
    items_.push_back({name, id, std::move(handler)});
    return id;
}

const PopupMenu::Item* PopupMenu::find(const std::wstring& name) const {
    for (const auto& item : items_)
        if (item.name == name) return &item;
    return nullptr;
}

bool PopupMenu::checked(const std::wstring& name) const {
    const Item* item = find(name);
    return item && (GetMenuState(menu_.get(), item->id, MF_BYCOMMAND) & MF_CHECKED);
}

void PopupMenu::set_checked(const std::wstring& name, bool on) {
    if (const Item* item = find(name))
        CheckMenuItem(menu_.get(), item->id, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

void PopupMenu::set_bitmap(const std::wstring& name, HBITMAP bitmap) {
    const Item* item = find(name);
    if (!item) return;
    MENUITEMINFOW mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_BITMAP;
    mi.hbmpItem = bitmap;
    SetMenuItemInfoW(menu_.get(), item->id, FALSE, &mi);
}

void PopupMenu::track(HWND owner, POINT at) {
    // Without the foreground the menu would not close when the user clicks elsewhere.
    SetForegroundWindow(owner);
    const UINT flags = TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN | TPM_TOPALIGN |
                       (GetSystemMetrics(SM_MENUDROPALIGNMENT) ? TPM_RIGHTALIGN : 0);
    const UINT chosen =
        static_cast<UINT>(TrackPopupMenuEx(menu_.get(), flags, at.x, at.y, owner, nullptr));
    PostMessageW(owner, WM_NULL, 0, 0);
    for (const auto& item : items_) {
        if (item.id == chosen && item.handler) {
            item.handler();
            break;
        }
    }
}

}  // namespace tastomat::ui
