#include "ui/controls.h"

#include <commctrl.h>

#include "platform/win32/file_system_win.h"
#include "platform/win32/wide.h"
#include "ui/popup_menu.h"

namespace tastomat::ui {

Control::Control(Form& form, std::string name, ControlKind kind, DesignRect rect)
    : form_(form), name_(std::move(name)), kind_(kind), rect_(rect) {}

Control::~Control() {
    // The control owns its window: neither may outlive the other, and the form must not
    // walk a control that is gone.
    form_.unregister_control(*this);
    if (!hwnd_) return;
    if (subclassed_) RemoveWindowSubclass(hwnd_, &Control::subclass_proc, 0);
    DestroyWindow(hwnd_);
}

void Control::create_window(const wchar_t* window_class, const std::wstring& text, DWORD style,
                            DWORD ex_style, UINT id) {
    id_ = id ? id : form_.next_control_id();
    hwnd_ = CreateWindowExW(ex_style, window_class, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0,
                            0, 0, 0, form_.hwnd(), reinterpret_cast<HMENU>(UINT_PTR{id_}),
                            GetModuleHandleW(nullptr), nullptr);
    if (!hwnd_) throw_last_error("CreateWindowEx for " + name_);
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(form_.font()), FALSE);
    form_.register_control(*this);
    layout();
}

void Control::set_font_face(const std::wstring& face, int points) {
    font_face_ = face;
    font_points_ = points;
    update_font();
}

void Control::update_font() {
    // The control lets go of the old font before it is deleted.
    ScopedFont fresh(font_face_.empty() ? nullptr : form_.create_font(font_face_, font_points_));
    HFONT use = fresh ? fresh.get() : form_.font();
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(use), TRUE);
    own_font_ = std::move(fresh);
}

void Control::layout() {
    // A frame stays below the controls it frames, so it never paints over them.
    if (frame())
        SetWindowPos(hwnd_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    MoveWindow(hwnd_, form_.scale(rect_.x), form_.scale(rect_.y), form_.scale(rect_.width),
               form_.scale(rect_.height), TRUE);
}

std::wstring Control::window_text() const { return ui::window_text(hwnd_); }

void Control::set_window_text(const std::wstring& text) { SetWindowTextW(hwnd_, text.c_str()); }

void Control::subclass() {
    subclassed_ = SetWindowSubclass(hwnd_, &Control::subclass_proc, 0,
                                    reinterpret_cast<DWORD_PTR>(this)) != FALSE;
}

LRESULT CALLBACK Control::subclass_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                        DWORD_PTR data) {
    auto* self = reinterpret_cast<Control*>(data);
    LRESULT result = 0;
    if (!guarded(GetParent(hwnd), [&] { result = self->on_subclassed(msg, wp, lp); })) return 0;
    return result;
}

LRESULT Control::on_subclassed(UINT msg, WPARAM wp, LPARAM lp) {
    return default_subclassed(msg, wp, lp);
}

LRESULT Control::default_subclassed(UINT msg, WPARAM wp, LPARAM lp) {
    return DefSubclassProc(hwnd_, msg, wp, lp);
}

// --- Button ---------------------------------------------------------------------------

Button::Button(Form& form, std::string name, DesignRect rect, const std::wstring& caption,
               int picture, UINT id, bool default_button)
    : Control(form, std::move(name), ControlKind::Other, rect) {
    create_window(L"BUTTON", caption,
                  WS_TABSTOP | (default_button ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), 0, id);
    if (picture != kNoPicture) form.show_picture(*this, picture);
}

void Button::set_icon(HICON icon) {
    SendMessageW(hwnd(), BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
}

void Button::on_command(WORD code) {
    if (code == BN_CLICKED && OnClick) OnClick();
}

GroupBox::GroupBox(Form& form, std::string name, DesignRect rect, const std::wstring& caption)
    : Control(form, std::move(name), ControlKind::Other, rect) {
    create_window(L"BUTTON", caption, BS_GROUPBOX | WS_GROUP);
}

Label::Label(Form& form, std::string name, DesignRect rect, const std::wstring& caption)
    : Control(form, std::move(name), ControlKind::Other, rect) {
    // SS_NOTIFY: a static control lets the mouse through otherwise, and its tooltip would
    // never show.
    create_window(L"STATIC", caption, SS_LEFT | SS_NOTIFY);
}

// --- ListBox --------------------------------------------------------------------------

ListBox::ListBox(Form& form, std::string name, DesignRect rect)
    : Control(form, std::move(name), ControlKind::ListBox, rect) {
    create_window(L"LISTBOX", L"", WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                  WS_EX_CLIENTEDGE);
    subclass();
}

void ListBox::clear() { SendMessageW(hwnd(), LB_RESETCONTENT, 0, 0); }

void ListBox::add(const std::wstring& line) {
    SendMessageW(hwnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
}

void ListBox::set_line(int index, const std::wstring& line) {
    if (index < 0 || index >= count()) return;
    const int selected = this->index();
    SendMessageW(hwnd(), LB_DELETESTRING, static_cast<WPARAM>(index), 0);
    SendMessageW(hwnd(), LB_INSERTSTRING, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(line.c_str()));
    if (selected == index) set_index(index);
}

std::wstring ListBox::line(int index) const {
    const LRESULT n = SendMessageW(hwnd(), LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (n == LB_ERR) return {};
    std::wstring s(static_cast<size_t>(n) + 1, L'\0');
    SendMessageW(hwnd(), LB_GETTEXT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(s.data()));
    s.resize(static_cast<size_t>(n));
    return s;
}

int ListBox::count() const { return static_cast<int>(SendMessageW(hwnd(), LB_GETCOUNT, 0, 0)); }

int ListBox::index() const { return static_cast<int>(SendMessageW(hwnd(), LB_GETCURSEL, 0, 0)); }

void ListBox::set_index(int index) {
    SendMessageW(hwnd(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void ListBox::on_command(WORD code) {
    if (code == LBN_DBLCLK && OnDblClick) OnDblClick();
}

LRESULT ListBox::on_subclassed(UINT msg, WPARAM wp, LPARAM lp) {
    const LRESULT result = default_subclassed(msg, wp, lp);
    if ((msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP) && OnMouseUp)
        OnMouseUp();
    return result;
}

// --- Edit -----------------------------------------------------------------------------

Edit::Edit(Form& form, std::string name, DesignRect rect, ControlKind kind, DWORD extra_style)
    : Control(form, std::move(name), kind, rect) {
    create_window(L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL | extra_style, WS_EX_CLIENTEDGE);
}

std::string Edit::text() const { return to_utf8(window_text()); }

void Edit::set_text(const std::string& text) { set_window_text(to_wide(text)); }

void Edit::layout() {
    Control::layout();
    if (right_margin_)
        SendMessageW(hwnd(), EM_SETMARGINS, EC_RIGHTMARGIN,
                     MAKELPARAM(0, form().scale(right_margin_)));
}

void Edit::set_right_margin(int design_pixels) {
    right_margin_ = design_pixels;
    layout();
}

// --- LabeledEdit ----------------------------------------------------------------------

LabeledEdit::LabeledEdit(Form& form, std::string name, DesignRect rect, const std::wstring& label,
                         DWORD extra_style)
    : Edit(form, std::move(name), rect, ControlKind::LabeledEdit, extra_style) {
    label_ = CreateWindowExW(0, L"STATIC", label.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 0, 0,
                             0, form.hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
    subclass();
    layout();
}

void LabeledEdit::layout() {
    Edit::layout();
    if (!label_) return;
    const DesignRect& r = design();
    SendMessageW(label_, WM_SETFONT, reinterpret_cast<WPARAM>(form().font()), FALSE);
    MoveWindow(label_, form().scale(r.x), form().scale(r.y - 18), form().scale(r.width),
               form().scale(16), TRUE);
}

LRESULT LabeledEdit::on_subclassed(UINT msg, WPARAM wp, LPARAM lp) {
    if ((msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN) && OnKeyDown) OnKeyDown(static_cast<WORD>(wp));
    return default_subclassed(msg, wp, lp);
}

// --- KeyEdit --------------------------------------------------------------------------

KeyEdit::KeyEdit(Form& form, std::string name, DesignRect rect, const std::wstring& label)
    : LabeledEdit(form, std::move(name), rect, label, ES_READONLY) {}

LRESULT KeyEdit::on_subclassed(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_GETDLGCODE:
            // Tab, Enter and a plain Escape stay with the window (next control, OK, close);
            // every other key is ours.
            if (lp) {
                const MSG* m = reinterpret_cast<const MSG*>(lp);
                const bool plain_escape = m->wParam == VK_ESCAPE && GetKeyState(VK_CONTROL) >= 0 &&
                                          GetKeyState(VK_MENU) >= 0;
                if ((m->message == WM_KEYDOWN || m->message == WM_SYSKEYDOWN) &&
                    (m->wParam == VK_TAB || m->wParam == VK_RETURN || plain_escape))
                    return default_subclassed(msg, wp, lp);
            }
            return default_subclassed(msg, wp, lp) | DLGC_WANTALLKEYS | DLGC_WANTMESSAGE;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: {
            if (wp == VK_TAB || wp == VK_RETURN) break;
            // The character the key would make must not reach the window as a mnemonic.
            MSG pending;
            while (PeekMessageW(&pending, hwnd(), WM_CHAR, WM_DEADCHAR, PM_REMOVE)) {
            }
            while (PeekMessageW(&pending, hwnd(), WM_SYSCHAR, WM_SYSDEADCHAR, PM_REMOVE)) {
            }
            if (OnKeyDown) OnKeyDown(static_cast<WORD>(wp));
            return 0;
        }
        case WM_SYSKEYUP:
        case WM_SYSCHAR:
        case WM_CHAR:
            // Alt released alone would open the window menu; characters do nothing here.
            if (msg == WM_CHAR && (wp == L'\t' || wp == L'\r')) break;
            return 0;
    }
    return default_subclassed(msg, wp, lp);
}

// --- components without a window ------------------------------------------------------

MenuItemComponent::MenuItemComponent(Form& form, PopupMenu& menu, std::string name)
    : form_(form), menu_(menu), name_(std::move(name)) {
    form.register_component(*this);
}

MenuItemComponent::~MenuItemComponent() { form_.unregister_component(*this); }

bool MenuItemComponent::checked() const { return menu_.checked(to_wide(name_)); }

void MenuItemComponent::set_checked(bool on) { menu_.set_checked(to_wide(name_), on); }

}  // namespace tastomat::ui
