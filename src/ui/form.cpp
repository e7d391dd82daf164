#include "ui/form.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/controls.h"

namespace tastomat::ui {

Form::Form(std::string component_name, std::wstring font_face, int font_points)
    : name_(std::move(component_name)),
      font_face_(std::move(font_face)),
      font_points_(font_points) {}

Form::~Form() {
    if (tooltip_) DestroyWindow(tooltip_);
}

void Form::register_component(FormControl& component) { components_.push_back(&component); }

void Form::register_control(Control& control) {
    components_.push_back(&control);
    controls_.push_back(&control);
}

void Form::form_created() {
    make_font();
    ensure_tooltip();
}

void Form::make_font() { font_.reset(create_font(font_face_)); }

HFONT Form::create_font(const std::wstring& face) const {
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(font_points_, static_cast<int>(dpi()), 72);
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = CLEARTYPE_QUALITY;
    lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
    return CreateFontIndirectW(&lf);
}

void Form::ensure_tooltip() {
    if (tooltip_) return;
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    if (tooltip_) SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, scale(600));
}

std::wstring& Form::tool_text(HWND control) {
    for (Tool& tool : tools_)
        if (tool.hwnd == control) return tool.text;
    tools_.push_back({control, {}});
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = hwnd();
    ti.uId = reinterpret_cast<UINT_PTR>(control);
    ti.lpszText = const_cast<wchar_t*>(L"");
    if (tooltip_) SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    return tools_.back().text;
}

void Form::set_control_hint(HWND control, const std::wstring& text) {
    ensure_tooltip();
    tool_text(control) = text;
    std::wstring shown = text.empty() ? hint_ : text;
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = hwnd();
    ti.uId = reinterpret_cast<UINT_PTR>(control);
    ti.lpszText = shown.data();
    if (tooltip_) SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
}

void Form::set_hint(const std::wstring& text) {
    hint_ = text;
    // The window itself shows it; controls without a text of their own fall back to it.
    set_control_hint(hwnd(), L"");
    for (const Tool& tool : tools_)
        if (tool.text.empty()) set_control_hint(tool.hwnd, L"");
}

void Form::set_client_size(int width, int height) {
    client_width_ = width;
    client_height_ = height;
    layout();
}

void Form::layout() {
    if (client_width_ > 0) {
        RECT r{0, 0, scale(client_width_), scale(client_height_)};
        AdjustWindowRectExForDpi(&r, static_cast<DWORD>(GetWindowLongW(hwnd(), GWL_STYLE)), FALSE,
                                 static_cast<DWORD>(GetWindowLongW(hwnd(), GWL_EXSTYLE)), dpi());
        SetWindowPos(hwnd(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    for (Control* control : controls_) {
        control->update_font();
        control->layout();
    }
    InvalidateRect(hwnd(), nullptr, TRUE);
}

char Form::decimal_separator() {
    wchar_t sep[8] = {};
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, sep, 8) > 0 && sep[0] < 0x80)
        return static_cast<char>(sep[0]);
    return ',';
}

LRESULT Form::on_message(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND: {
            const UINT id = LOWORD(wp);
            for (Control* control : controls_) {
                if (control->id() == id) {
                    control->on_command(HIWORD(wp));
                    return 0;
                }
            }
            break;
        }
        case WM_ACTIVATE:
            // Like a dialog: the keyboard focus leaves with the window and comes back with it.
            if (LOWORD(wp) == WA_INACTIVE) {
                HWND focused = GetFocus();
                if (focused && IsChild(hwnd(), focused)) focus_ = focused;
            } else {
                if (!focus_ || !IsWindow(focus_) || !IsWindowEnabled(focus_))
                    focus_ = GetNextDlgTabItem(hwnd(), nullptr, FALSE);
                if (focus_) SetFocus(focus_);
            }
            return 0;
        case WM_DPICHANGED: {
            const RECT* suggested = reinterpret_cast<const RECT*>(lp);
            SetWindowPos(hwnd(), nullptr, suggested->left, suggested->top,
                         suggested->right - suggested->left, suggested->bottom - suggested->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            make_font();
            layout();
            dpi_changed();
            return 0;
        }
    }
    return default_message(msg, wp, lp);
}

}  // namespace tastomat::ui
