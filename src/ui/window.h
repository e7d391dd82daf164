#pragma once
// Base of every window of the program: owns its HWND, routes messages to a virtual
// handler and is the one place where an exception from a handler is caught and shown
// in the error box, so that no exception ever crosses back into the system.
#include <windows.h>

#include <functional>
#include <string>

namespace tastomat::ui {

// Layouts are designed at 120 dpi.
inline constexpr int kDesignDpi = 120;

class Window {
  public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND hwnd() const { return hwnd_; }
    bool visible() const { return hwnd_ && IsWindowVisible(hwnd_); }
    UINT dpi() const;
    // A length of the 120-dpi layout at this window's current dpi.
    int scale(int design_pixels) const;

    void set_caption(const std::wstring& text);

  protected:
    struct CreateParams {
        const wchar_t* class_name = nullptr;
        std::wstring title;
        DWORD style = WS_OVERLAPPEDWINDOW;
        DWORD ex_style = 0;
        int x = CW_USEDEFAULT, y = CW_USEDEFAULT, width = CW_USEDEFAULT, height = CW_USEDEFAULT;
        HWND parent = nullptr;
        HICON icon = nullptr;
        HICON small_icon = nullptr;  // the title bar's; icon when none
        HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        UINT class_style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    };
    // Registers the class on first use and creates the window; the handler sees every
    // message from WM_NCCREATE on.
    void create(const CreateParams& params);
    // A window that is never shown and exists to receive messages. Top-level rather than
    // message-only, so that broadcasts such as "TaskbarCreated" reach it too.
    void create_hidden(const wchar_t* class_name);
    // A window that only receives what is sent or posted to it (a hotkey, a handle handed
    // to another process): no broadcasts, but cheaper to make than a top-level window,
    // which under Wine weighs on every start.
    void create_message_only(const wchar_t* class_name);
    void destroy();

    virtual LRESULT on_message(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT default_message(UINT msg, WPARAM wp, LPARAM lp);

  private:
    static LRESULT CALLBACK window_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    HWND hwnd_ = nullptr;
    UINT dpi_announced_ = 0;  // by the last WM_DPICHANGED
};

// The text of any window or control.
std::wstring window_text(HWND hwnd);

// How an error caught at a window's message handler reaches the user: by default the
// error box. Replaced by tests; returns the reporter it replaces.
using ErrorReporter = std::function<void(HWND owner, const std::wstring& message)>;
ErrorReporter set_error_reporter(ErrorReporter reporter);

// What the user reads of the exception being handled.
std::wstring current_exception_text();

// Queues the error of the exception being handled. It is reported once the message that
// failed is done, through a message of its own: a box shown from inside a failing paint or
// timer message would be followed by the next failure's box on top of it. An error that is
// already waiting or on screen with the same text is not queued again.
void report_exception(HWND owner);

// Runs fn and reports any exception it throws (the application's general error handler).
// Returns false when it threw.
template <typename Fn>
bool guarded(HWND owner, Fn&& fn);

template <typename Fn>
bool guarded(HWND owner, Fn&& fn) {
    try {
        fn();
        return true;
    } catch (...) {
        report_exception(owner);
        return false;
    }
}

}  // namespace tastomat::ui
