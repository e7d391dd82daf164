#pragma once
// What is one per process: the program's title, and the message loop with its dialog keys
// and start-up steps. Windows, icons, help and texts are handed to whoever needs them by
// the program's owner (app/tastomat_program_win.h), not kept here.
#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace tastomat::ui {

// While it lives, the window it took gets dialog keyboard handling (Tab, Enter, Escape,
// mnemonics) whenever it is visible.
class DialogKeys {
  public:
    DialogKeys() = default;
    DialogKeys(const DialogKeys&) = delete;
    DialogKeys& operator=(const DialogKeys&) = delete;
    ~DialogKeys();
    void take(HWND hwnd);

  private:
    HWND hwnd_ = nullptr;
};

// Escape as the dialog keys hand it to a window: the cancel command from no control.
inline bool escape_command(UINT msg, WPARAM wp, LPARAM lp) {
    return msg == WM_COMMAND && LOWORD(wp) == IDCANCEL && lp == 0;
}

// The name the program shows itself under and files its autostart link as.
inline constexpr const wchar_t* kProgramTitle = L"Tastomat";

class Application {
  public:
    static Application& instance();

    // While steps_allowed says no, the start-up steps wait; whoever makes it say yes again
    // posts a message, so that the loop looks once more. Steps not taken by the time it
    // returns are dropped: they belong to this run of the loop.
    int run(const std::function<bool()>& steps_allowed = nullptr);
    // Work that can wait until the loop has nothing else to do: one step each time the
    // queue runs empty, in the order given, so a message that comes meanwhile (a hotkey)
    // is answered between two steps rather than after all of them.
    void when_idle(std::function<void()> step);
    // Runs a nested loop until window is hidden or destroyed, with the other top-level
    // windows of the program disabled meanwhile.
    void run_modal(HWND window);
    // Handles the messages waiting now and returns, for long work on this thread that
    // must keep the windows alive. A quit request seen here ends the loops above.
    void process_messages();

  private:
    friend class DialogKeys;
    void add_dialog(HWND hwnd);
    void remove_dialog(HWND hwnd);
    bool pump_one(MSG& msg);
    void dispatch(MSG& msg);
    std::vector<HWND> dialogs_;
    std::deque<std::function<void()>> idle_steps_;
    bool terminated_ = false;
    int exit_code_ = 0;
};

}  // namespace tastomat::ui
