#include "ui/tray_icon.h"

#include <shellapi.h>

#include "ui/application.h"
#include "ui/messages.h"

namespace tastomat::ui {
namespace {
constexpr UINT kIconId = 1;
constexpr UINT_PTR kRetryTimer = 1;
constexpr UINT kRetryInterval = 1000;
}  // namespace

TrayIcon::TrayIcon(HWND main_window) : main_window_(main_window) {
    create_hidden(L"TastomatTrayIcon");
    taskbar_created_ = RegisterWindowMessageW(L"TaskbarCreated");
    // A copy started elevated still hears a restarted Explorer, which runs with less.
    if (taskbar_created_)
        ChangeWindowMessageFilterEx(hwnd(), taskbar_created_, MSGFLT_ALLOW, nullptr);
}

TrayIcon::~TrayIcon() { remove_icon(); }

NOTIFYICONDATAW TrayIcon::data() const {
    NOTIFYICONDATAW nid{};
    nid.cbSize = sizeof nid;
    nid.hWnd = hwnd();
    nid.uID = kIconId;
    nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    nid.uCallbackMessage = kTrayCallback;
    nid.hIcon = Icon;
    lstrcpynW(nid.szTip, Hint.c_str(), static_cast<int>(std::size(nid.szTip)));
    return nid;
}

void TrayIcon::Loaded() { add_icon(); }

void TrayIcon::add_icon() {
    NOTIFYICONDATAW nid = data();
    added_ = Notify(NIM_ADD, &nid) != FALSE;
    // At log-on the autostart can run before the shell is ready, or while it is too busy
    // to answer: try again once a second for a minute.
    retries_left_ = added_ ? 0 : kAddRetries;
    if (!added_) SetTimer(hwnd(), kRetryTimer, kRetryInterval, nullptr);
}

void TrayIcon::retry_add() {
    if (added_ || retries_left_ <= 0) {
        KillTimer(hwnd(), kRetryTimer);
        return;
    }
    --retries_left_;
    NOTIFYICONDATAW nid = data();
    added_ = Notify(NIM_ADD, &nid) != FALSE;
    if (added_ || retries_left_ == 0) KillTimer(hwnd(), kRetryTimer);
}

void TrayIcon::remove_icon() {
    if (!added_) return;
    NOTIFYICONDATAW nid = data();
    Notify(NIM_DELETE, &nid);
    added_ = false;
}

void TrayIcon::show_warning(const std::wstring& text) {
    if (!added_) return;
    NOTIFYICONDATAW nid = data();
    nid.uFlags |= NIF_INFO;
    nid.dwInfoFlags = NIIF_WARNING;
    lstrcpynW(nid.szInfoTitle, kProgramTitle, static_cast<int>(std::size(nid.szInfoTitle)));
    lstrcpynW(nid.szInfo, text.c_str(), static_cast<int>(std::size(nid.szInfo)));
    Notify(NIM_MODIFY, &nid);
}

void TrayIcon::ShowMainForm() {
    HWND main = main_window_;
    if (!main) return;
    HWND before = GetForegroundWindow();
    if (before && before != main &&
        GetWindowThreadProcessId(before, nullptr) != GetCurrentThreadId())
        previous_foreground_ = before;
    if (IsIconic(main)) ShowWindow(main, SW_RESTORE);
    // Shown first and activated second: a window that is mapped while being activated is
    // handed to the X window manager under Wine, and without one it never gets the keys.
    // Already up (the hotkey pressed twice), it is only brought forward: showing the active
    // window again is repositioning it while active, which hands it over just the same.
    if (!IsWindowVisible(main)) ShowWindow(main, SW_SHOWNA);
    SetForegroundWindow(main);
}

void TrayIcon::HideMainForm() {
    HWND main = main_window_;
    if (!main) return;
    // The keyboard goes back to the application the user was in before the badge came up.
    if (GetForegroundWindow() == main || GetActiveWindow() == main) {
        if (previous_foreground_ && IsWindow(previous_foreground_) &&
            IsWindowVisible(previous_foreground_))
            SetForegroundWindow(previous_foreground_);
        else
            SetActiveWindow(nullptr);
    }
    previous_foreground_ = nullptr;
    ShowWindow(main, SW_HIDE);
}

void TrayIcon::hide_after_start() {
    HWND main = main_window_;
    previous_foreground_ = nullptr;
    if (!main) return;
    // SW_HIDE on the active window activates another one, the program that was in front
    // before the hotkey; deactivated first, the badge leaves the foreground with the
    // launcher, which the program just started may take.
    if (GetActiveWindow() == main) SetActiveWindow(nullptr);
    ShowWindow(main, SW_HIDE);
}

LRESULT TrayIcon::on_message(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kTrayCallback) {
        const UINT event = LOWORD(lp);
        if (Popup && (event == WM_RBUTTONUP || event == WM_CONTEXTMENU)) {
            POINT at;
            GetCursorPos(&at);
            Popup->track(hwnd(), at);
        }
        return 0;
    }
    if (msg == WM_TIMER && wp == kRetryTimer) {
        retry_add();
        return 0;
    }
    if (taskbar_created_ && msg == taskbar_created_) {
        // Explorer restarted and forgot every icon.
        added_ = false;
        add_icon();
        return 0;
    }
    return default_message(msg, wp, lp);
}

}  // namespace tastomat::ui
