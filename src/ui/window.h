#pragma once
// Base of every window of the program: owns its HWND, routes messages to a virtual
// handler and is the one place where an exception from a handler is caught and shown
// in the error box, so that no exception ever crosses back into the system.
#include <windows.h>

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
    std::wstring caption() const;

  protected:
    struct CreateParams {
        const wchar_t* class_name = nullptr;
        std::wstring title;
        DWORD style = WS_OVERLAPPEDWINDOW;
        DWORD ex_style = 0;
        int x = CW_USEDEFAULT, y = CW_USEDEFAULT, width = CW_USEDEFAULT, height = CW_USEDEFAULT;
        HWND parent = nullptr;
        HICON icon = nullptr;
        HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        UINT class_style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    };
    // Registers the class on first use and creates the window; the handler sees every
    // message from WM_NCCREATE on.
    void create(const CreateParams& params);
    // A window that is never shown and exists to receive messages. Top-level rather than
    // message-only, so that broadcasts such as "TaskbarCreated" reach it too.
    void create_hidden(const wchar_t* class_name);
    void destroy();

    virtual LRESULT on_message(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT default_message(UINT msg, WPARAM wp, LPARAM lp);

  private:
    static LRESULT CALLBACK window_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    HWND hwnd_ = nullptr;
};

// Runs fn and shows any exception it throws in the error box (the application's
// general error handler). Returns false when it threw.
template <typename Fn>
bool guarded(HWND owner, Fn&& fn);

void report_exception(HWND owner);

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
