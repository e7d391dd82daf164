#include "ui/form.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/controls.h"
#include "ui/dpi.h"
#include "ui/placement.h"
#include "ui/popup_menu.h"

namespace tastomat::ui {

Form::Form(std::string component_name, std::wstring font_face, int font_points)
    : name_(std::move(component_name)),
      font_face_(std::move(font_face)),
      font_points_(font_points) {}

Form::~Form() = default;

void Form::register_component(FormControl& component) { components_.push_back(&component); }

void Form::register_control(Control& control) {
    components_.push_back(&control);
    controls_.push_back(&control);
}

void Form::unregister_component(FormControl& component) { std::erase(components_, &component); }

void Form::unregister_control(Control& control) {
    unregister_component(control);
    std::erase(controls_, &control);
    std::erase_if(tools_, [&](const Tool& tool) { return tool.hwnd == control.hwnd(); });
    std::erase_if(picture_uses_, [&](const PictureUse& use) { return use.button == &control; });
}

void Form::form_created() {
    make_font();
    tooltip_.create(hwnd(), scale(600));
}

void Form::create_dialog(DialogDescription description) {
    description_ = std::move(description);
    CreateParams params;
    params.class_name = description_.class_name;
    params.title = description_.caption;
    // No WS_CLIPCHILDREN: a group box leaves its inside for the window to paint.
    params.style = description_.sizable ? WS_OVERLAPPEDWINDOW : WS_POPUP | WS_CAPTION | WS_SYSMENU;
    params.ex_style =
        description_.sizable ? WS_EX_CONTROLPARENT : WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    params.x = params.y = 0;
    params.width = params.height = 100;
    params.parent = description_.owner;  // for a top-level window: its owner
    if (description_.icon) {
        params.icon = description_.icon->large();
        params.small_icon = description_.icon->small();
    }
    create(params);
    form_created();
    make_pictures();
    dialog_keys_.take(hwnd());
}

void Form::make_pictures() {
    // The old pictures go only after every control has let go of them.
    auto fresh = std::make_unique<ImageList>(description_.pictures, scale(kButtonGlyphSize));
    std::swap(pictures_, fresh);
    for (const PictureUse& use : picture_uses_) apply_picture(use);
}

void Form::apply_picture(const PictureUse& use) const {
    if (use.button) use.button->set_icon(pictures_->icon(use.index));
    if (use.menu) use.menu->set_bitmap(use.item, pictures_->bitmap(use.index));
}

void Form::show_picture(Button& button, int index) {
    picture_uses_.push_back({&button, nullptr, {}, index});
    apply_picture(picture_uses_.back());
}

void Form::show_picture(PopupMenu& menu, const std::wstring& item, int index) {
    picture_uses_.push_back({nullptr, &menu, item, index});
    apply_picture(picture_uses_.back());
}

void Form::show_help() const {
    if (description_.help) description_.help->show(description_.topic);
}

void Form::place() {
    switch (description_.placement) {
        case Placement::over_owner:
            center_over(hwnd(), description_.owner);
            return;
        case Placement::as_designed:
            return;
        case Placement::from_launcher:
            place_bottom_right(hwnd());
            // Above the badge from the start; the activation keeps it there while it lasts.
            stay_above_launcher(hwnd());
            return;
    }
}

void Form::run_modal() {
    // A window made with a frame of its own gets the dialog keys here at the latest.
    dialog_keys_.take(hwnd());
    Application::instance().run_modal(hwnd());
}

void Form::make_font() { font_.reset(create_font(font_face_)); }

HFONT Form::create_font(const std::wstring& face, int points) const {
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(points ? points : font_points_, static_cast<int>(dpi()), 72);
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = CLEARTYPE_QUALITY;
    lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
    return CreateFontIndirectW(&lf);
}

std::wstring& Form::tool_text(HWND control) {
    for (Tool& tool : tools_)
        if (tool.hwnd == control) return tool.text;
    tools_.push_back({control, {}});
    tooltip_.add(hwnd(), control, L"");
    return tools_.back().text;
}

void Form::set_control_hint(HWND control, const std::wstring& text) {
    tool_text(control) = text;
    tooltip_.set_text(hwnd(), control, text.empty() ? hint_ : text);
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
        adjust_window_rect(r, static_cast<DWORD>(GetWindowLongW(hwnd(), GWL_STYLE)),
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
        case kLeftActivation:
            if (description_.placement == Placement::from_launcher)
                above_launcher_while_active(hwnd(), msg, wp);
            return 0;
        case WM_ACTIVATE:
            if (description_.placement == Placement::from_launcher)
                above_launcher_while_active(hwnd(), msg, wp);
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
            // The controls still draw with the old font until layout() hands them the new one.
            const ScopedFont previous = std::move(font_);
            make_font();
            layout();
            // Drawn anew for the new size rather than stretched.
            make_pictures();
            return 0;
        }
    }
    return default_message(msg, wp, lp);
}

}  // namespace tastomat::ui
