#include "ui/application.h"

#include <algorithm>
#include <utility>

namespace tastomat::ui {

Application& Application::instance() {
    static Application app;
    return app;
}

DialogKeys::~DialogKeys() {
    if (hwnd_) Application::instance().remove_dialog(hwnd_);
}

void DialogKeys::take(HWND hwnd) {
    if (hwnd_) Application::instance().remove_dialog(hwnd_);
    hwnd_ = hwnd;
    Application::instance().add_dialog(hwnd_);
}

void Application::add_dialog(HWND hwnd) {
    if (std::find(dialogs_.begin(), dialogs_.end(), hwnd) == dialogs_.end())
        dialogs_.push_back(hwnd);
}

void Application::remove_dialog(HWND hwnd) {
    dialogs_.erase(std::remove(dialogs_.begin(), dialogs_.end(), hwnd), dialogs_.end());
}

bool Application::pump_one(MSG& msg) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
        // Whichever loop meets the quit request, every loop ends, and the outermost
        // returns the code it carried.
        terminated_ = true;
        exit_code_ = got == 0 ? static_cast<int>(msg.wParam) : 1;
        return false;
    }
    dispatch(msg);
    return true;
}

void Application::dispatch(MSG& msg) {
    for (HWND dlg : dialogs_) {
        if (IsWindow(dlg) && IsWindowVisible(dlg) && (dlg == msg.hwnd || IsChild(dlg, msg.hwnd)) &&
            IsDialogMessageW(dlg, &msg))
            return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

void Application::process_messages() {
    MSG msg{};
    while (!terminated_ && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            terminated_ = true;
            exit_code_ = static_cast<int>(msg.wParam);
            return;
        }
        dispatch(msg);
    }
}

void Application::when_idle(std::function<void()> step) { idle_steps_.push_back(std::move(step)); }

int Application::run(const std::function<bool()>& steps_allowed) {
    MSG msg{};
    while (!terminated_) {
        if (!idle_steps_.empty() && (!steps_allowed || steps_allowed()) &&
            !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            auto step = std::move(idle_steps_.front());
            idle_steps_.pop_front();
            step();
            continue;
        }
        if (!pump_one(msg)) break;
    }
    idle_steps_.clear();
    return exit_code_;
}

namespace {
struct DisabledWindows {
    HWND keep;
    std::vector<HWND> list;
};
BOOL CALLBACK disable_thread_window(HWND hwnd, LPARAM lp) {
    auto* d = reinterpret_cast<DisabledWindows*>(lp);
    if (hwnd != d->keep && IsWindowEnabled(hwnd) && IsWindowVisible(hwnd)) {
        EnableWindow(hwnd, FALSE);
        d->list.push_back(hwnd);
    }
    return TRUE;
}
}  // namespace

void Application::run_modal(HWND window) {
    DisabledWindows disabled{window, {}};
    EnumThreadWindows(GetCurrentThreadId(), disable_thread_window,
                      reinterpret_cast<LPARAM>(&disabled));
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    MSG msg{};
    while (!terminated_ && IsWindow(window) && IsWindowVisible(window) && pump_one(msg)) {
    }
    for (HWND hwnd : disabled.list)
        if (IsWindow(hwnd)) EnableWindow(hwnd, TRUE);
}

}  // namespace tastomat::ui
