#include "ui/dpi.h"

#include "platform/win32/scoped.h"

namespace tastomat::ui {
namespace {

template <typename Function>
Function user32_function(const char* name) {
    // user32 is imported, so it is loaded: no library search is involved.
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    if (!user32) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name)));
}

DpiFunctions looked_up() {
    DpiFunctions f;
    f.dpi_for_window = user32_function<decltype(f.dpi_for_window)>("GetDpiForWindow");
    f.adjust_window_rect_for_dpi =
        user32_function<decltype(f.adjust_window_rect_for_dpi)>("AdjustWindowRectExForDpi");
    return f;
}

}  // namespace

DpiFunctions& dpi_functions() {
    static DpiFunctions functions = looked_up();
    return functions;
}

UINT reported_window_dpi(HWND hwnd) {
    const auto dpi_for_window = dpi_functions().dpi_for_window;
    return hwnd && dpi_for_window ? dpi_for_window(hwnd) : 0;
}

UINT system_dpi() {
    const WindowDC screen_dc(nullptr);
    const int screen = GetDeviceCaps(screen_dc.get(), LOGPIXELSY);
    return screen > 0 ? static_cast<UINT>(screen) : USER_DEFAULT_SCREEN_DPI;
}

void adjust_window_rect(RECT& rect, DWORD style, DWORD ex_style, UINT dpi) {
    const auto for_dpi = dpi_functions().adjust_window_rect_for_dpi;
    if (for_dpi && for_dpi(&rect, style, FALSE, ex_style, dpi)) return;
    AdjustWindowRectEx(&rect, style, FALSE, ex_style);
}

}  // namespace tastomat::ui
