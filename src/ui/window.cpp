#include "ui/window.h"

#include <deque>
#include <exception>
#include <stdexcept>
#include <utility>

#include "platform/win32/file_system_win.h"
#include "platform/win32/wide.h"
#include "ui/dpi.h"
#include "ui/message_box.h"
#include "ui/messages.h"

namespace tastomat::ui {
namespace {

ErrorReporter& reporter() {
    static ErrorReporter current = [](HWND owner, const std::wstring& message) {
        show_error(owner, message);
    };
    return current;
}

// Errors waiting to be reported, and the window whose posted message reports them. One
// report at a time: errors raised while a box is open wait for it to close.
class ErrorQueue : private Window {
  public:
    ErrorQueue() { create_hidden(L"TastomatErrorReports"); }

    void add(HWND owner, std::wstring message) {
        if (message == on_screen_) return;
        for (const Pending& p : pending_)
            if (p.message == message) return;
        pending_.push_back({owner, std::move(message)});
        if (!reporting_ && pending_.size() == 1) PostMessageW(hwnd(), kReportErrors, 0, 0);
    }

  private:
    struct Pending {
        HWND owner;
        std::wstring message;
    };

    LRESULT on_message(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg != kReportErrors) return default_message(msg, wp, lp);
        if (reporting_) return 0;
        reporting_ = true;
        while (!pending_.empty()) {
            Pending next = std::move(pending_.front());
            pending_.pop_front();
            on_screen_ = next.message;
            reporter()(IsWindow(next.owner) ? next.owner : nullptr, next.message);
            on_screen_.clear();
        }
        reporting_ = false;
        return 0;
    }

    std::deque<Pending> pending_;
    std::wstring on_screen_;
    bool reporting_ = false;
};

ErrorQueue& error_queue() {
    static ErrorQueue queue;
    return queue;
}

}  // namespace

ErrorReporter set_error_reporter(ErrorReporter replacement) {
    return std::exchange(reporter(), std::move(replacement));
}

Window::~Window() { destroy(); }

void Window::destroy() {
    if (hwnd_) {
        HWND h = hwnd_;
        SetWindowLongPtrW(h, GWLP_USERDATA, 0);
        hwnd_ = nullptr;
        DestroyWindow(h);
    }
}

UINT Window::dpi() const {
    if (const UINT reported = reported_window_dpi(hwnd_)) return reported;
    // Windows 8.1 moves a window between monitors of different density without a function
    // to ask; the message that announced the move said it.
    return dpi_announced_ ? dpi_announced_ : system_dpi();
}

int Window::scale(int design_pixels) const {
    return MulDiv(design_pixels, static_cast<int>(dpi()), kDesignDpi);
}

void Window::set_caption(const std::wstring& text) { SetWindowTextW(hwnd_, text.c_str()); }

std::wstring window_text(HWND hwnd) {
    // The length is a hint only: the text may change between the two calls.
    std::wstring s(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    const int n = GetWindowTextW(hwnd, s.data(), static_cast<int>(s.size()));
    s.resize(static_cast<size_t>(n > 0 ? n : 0));
    return s;
}

void Window::create(const CreateParams& params) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (!GetClassInfoExW(instance, params.class_name, &existing)) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.style = params.class_style;
        wc.lpfnWndProc = &Window::window_proc;
        wc.hInstance = instance;
        wc.hIcon = params.icon;
        wc.hIconSm = params.small_icon ? params.small_icon : params.icon;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = params.background;
        wc.lpszClassName = params.class_name;
        if (!RegisterClassExW(&wc)) throw_last_error("RegisterClassEx");
    }
    HWND h = CreateWindowExW(params.ex_style, params.class_name, params.title.c_str(), params.style,
                             params.x, params.y, params.width, params.height, params.parent,
                             nullptr, instance, this);
    if (!h) throw_last_error("CreateWindowEx");
}

void Window::create_hidden(const wchar_t* class_name) {
    CreateParams params;
    params.class_name = class_name;
    params.style = WS_POPUP;
    params.ex_style = WS_EX_TOOLWINDOW;
    params.x = params.y = 0;
    params.width = params.height = 0;
    create(params);
}

void Window::create_message_only(const wchar_t* class_name) {
    CreateParams params;
    params.class_name = class_name;
    params.style = 0;
    params.x = params.y = params.width = params.height = 0;
    params.parent = HWND_MESSAGE;
    create(params);
}

LRESULT Window::on_message(UINT msg, WPARAM wp, LPARAM lp) { return default_message(msg, wp, lp); }

LRESULT Window::default_message(UINT msg, WPARAM wp, LPARAM lp) {
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT CALLBACK Window::window_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_DPICHANGED) self->dpi_announced_ = LOWORD(wp);
    LRESULT result = 0;
    const bool ok = guarded(hwnd, [&] { result = self->on_message(msg, wp, lp); });
    // A paint that failed would otherwise be asked for again at once, forever.
    if (!ok && msg == WM_PAINT) ValidateRect(hwnd, nullptr);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return ok ? result : 0;
}

std::wstring current_exception_text() {
    try {
        throw;
    } catch (const std::exception& e) {
        return to_wide(e.what());
    } catch (...) {
        return L"Unbekannter Fehler";
    }
}

void report_exception(HWND owner) { error_queue().add(owner, current_exception_text()); }

}  // namespace tastomat::ui
