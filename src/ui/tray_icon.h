#pragma once
// The notification-area icon: shows the program's icon and tooltip for the whole run,
// opens the popup menu on a right click, and shows or hides the main window.
#include <windows.h>

#include <shellapi.h>

#include <string>

#include "ui/popup_menu.h"
#include "ui/window.h"

namespace tastomat::ui {

class TrayIcon : private Window {
  public:
    // main_window: the window ShowMainForm and HideMainForm show and hide; none, and they
    // do nothing.
    explicit TrayIcon(HWND main_window);
    ~TrayIcon() override;

    std::wstring Hint;
    HICON Icon = nullptr;
    PopupMenu* Popup = nullptr;
    // How the icon reaches the notification area; tests put a stand-in in its place.
    BOOL(WINAPI* Notify)(DWORD message, PNOTIFYICONDATAW data) = Shell_NotifyIconW;
    // Tries after a failed add, one a second.
    static constexpr int kAddRetries = 60;

    // Adds the icon; afterwards it stays until destruction (re-added when Explorer
    // restarts).
    void Loaded();

    void ShowMainForm();
    void HideMainForm();
    // Hides it and leaves the foreground to what the launcher just started.
    void hide_after_start();
    bool added() const { return added_; }

    // A balloon at the icon with the program's name as title and a warning sign: the way
    // the launcher tells the user something went wrong without stopping them.
    void show_warning(const std::wstring& text);

  private:
    LRESULT on_message(UINT msg, WPARAM wp, LPARAM lp) override;
    void add_icon();
    void remove_icon();
    void retry_add();
    NOTIFYICONDATAW data() const;

    HWND main_window_;
    UINT taskbar_created_ = 0;
    bool added_ = false;
    int retries_left_ = 0;
    HWND previous_foreground_ = nullptr;
};

}  // namespace tastomat::ui
