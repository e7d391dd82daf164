#include "ui/window.h"

#include <exception>
#include <stdexcept>

#include "platform/win32/wide.h"
#include "ui/message_box.h"

namespace tastomat::ui {

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
    const UINT d = hwnd_ ? GetDpiForWindow(hwnd_) : 0;
    if (d) return d;
    HDC dc = GetDC(nullptr);
    const int screen = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return screen > 0 ? static_cast<UINT>(screen) : 96;
}

int Window::scale(int design_pixels) const {
    return MulDiv(design_pixels, static_cast<int>(dpi()), kDesignDpi);
}

void Window::set_caption(const std::wstring& text) { SetWindowTextW(hwnd_, text.c_str()); }

std::wstring Window::caption() const {
    const int n = GetWindowTextLengthW(hwnd_);
    std::wstring s(static_cast<size_t>(n) + 1, L'\0');
    GetWindowTextW(hwnd_, s.data(), n + 1);
    s.resize(static_cast<size_t>(n));
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
        wc.hIconSm = params.icon;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = params.background;
        wc.lpszClassName = params.class_name;
        if (!RegisterClassExW(&wc)) throw std::runtime_error("RegisterClassEx failed");
    }
    HWND h = CreateWindowExW(params.ex_style, params.class_name, params.title.c_str(), params.style,
                             params.x, params.y, params.width, params.height, params.parent,
                             nullptr, instance, this);
    if (!h) throw std::runtime_error("CreateWindowEx failed");
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
    LRESULT result = 0;
    const bool ok = guarded(hwnd, [&] { result = self->on_message(msg, wp, lp); });
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return ok ? result : 0;
}

void report_exception(HWND owner) {
    try {
        throw;
    } catch (const std::exception& e) {
        show_error(owner, to_wide(e.what()));
    } catch (...) {
        show_error(owner, L"Unbekannter Fehler");
    }
}

}  // namespace tastomat::ui
