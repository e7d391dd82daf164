#include "ui/tooltip.h"

#include <commctrl.h>

namespace tastomat::ui {
namespace {

TTTOOLINFOW tool_info(HWND parent, HWND tool, const std::wstring& text) {
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = parent;
    ti.uId = reinterpret_cast<UINT_PTR>(tool);
    // The control copies the text.
    ti.lpszText = const_cast<wchar_t*>(text.c_str());
    return ti;
}

}  // namespace

Tooltip::~Tooltip() {
    if (hwnd_) DestroyWindow(hwnd_);
}

void Tooltip::create(HWND owner, int max_width) {
    if (hwnd_) return;
    // Paths may hold "&": shown as typed, never as a mnemonic.
    hwnd_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                            WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, GetModuleHandleW(nullptr),
                            nullptr);
    set_max_width(max_width);
}

void Tooltip::set_max_width(int pixels) {
    if (hwnd_) SendMessageW(hwnd_, TTM_SETMAXTIPWIDTH, 0, pixels);
}

void Tooltip::add(HWND parent, HWND tool, const std::wstring& text) {
    if (!hwnd_) return;
    TTTOOLINFOW ti = tool_info(parent, tool, text);
    SendMessageW(hwnd_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    SendMessageW(hwnd_, TTM_ACTIVATE, TRUE, 0);
}

void Tooltip::set_text(HWND parent, HWND tool, const std::wstring& text) {
    if (!hwnd_) return;
    TTTOOLINFOW ti = tool_info(parent, tool, text);
    SendMessageW(hwnd_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
}

void Tooltip::relay(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    if (!hwnd_) return;
    MSG m{};
    m.hwnd = window;
    m.message = msg;
    m.wParam = wp;
    m.lParam = lp;
    m.time = static_cast<DWORD>(GetMessageTime());
    const DWORD at = GetMessagePos();
    m.pt.x = static_cast<short>(LOWORD(at));
    m.pt.y = static_cast<short>(HIWORD(at));
    SendMessageW(hwnd_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
}

}  // namespace tastomat::ui
