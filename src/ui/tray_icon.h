#pragma once
// The notification-area icon: shows the program's icon and tooltip for the whole run,
// opens the popup menu on a right click, and shows or hides the main window.
#include <windows.h>

#include <shellapi.h>

#include <functional>
#include <string>

#include "ui/popup_menu.h"
#include "ui/window.h"

namespace tastomat::ui {

class TrayIcon : private Window {
  public:
    TrayIcon();
    ~TrayIcon() override;

    std::wstring Hint;
    HICON Icon = nullptr;
    PopupMenu* Popup = nullptr;
    bool LeftPopup = false;      // a left click opens the menu too
    bool MinimizeToTray = true;  // minimising hides the main window instead
    // Called once from Loaded(); setting the flag false keeps the main window hidden.
    std::function<void(bool& show_main_form)> OnStartup;
    // How the icon reaches the notification area; tests put a stand-in in its place.
    BOOL(WINAPI* Notify)(DWORD message, PNOTIFYICONDATAW data) = Shell_NotifyIconW;
    // Tries after a failed add, one a second.
    static constexpr int kAddRetries = 60;

    // Adds the icon; afterwards it stays until destruction (re-added when Explorer
    // restarts).
    void Loaded();
    bool show_main_form_at_start() const { return show_main_form_; }

    void ShowMainForm();
    void HideMainForm();
    // Hides it and leaves the foreground to what the launcher just started.
    void hide_after_start();
    void set_icon(HICON icon);
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

    UINT taskbar_created_ = 0;
    bool added_ = false;
    int retries_left_ = 0;
    bool show_main_form_ = true;
    HWND previous_foreground_ = nullptr;
};

}  // namespace tastomat::ui
