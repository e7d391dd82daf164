#include "ui/button_edit.h"

#include "platform/win32/file_system_win.h"
#include "platform/win32/scoped.h"
#include "platform/win32/wide.h"
#include "ui/folder_dialog.h"

namespace tastomat::ui {
namespace {
// The button is as wide as the field is high, minus the frame.
int button_width(const DesignRect& r) { return r.height - 4; }
}  // namespace

ButtonEdit::ButtonEdit(Form& form, const std::string& name, DesignRect rect, int picture,
                       ControlKind kind)
    // The edit must not paint over its button.
    : Edit(form, name, rect, kind, WS_CLIPSIBLINGS) {
    const DesignRect b{rect.x + rect.width - 2 - button_width(rect), rect.y + 2, button_width(rect),
                       rect.height - 4};
    button_ = std::make_unique<Button>(form, name + "Button", b, L"", picture);
    // Icon only: BS_ICON keeps the caption from pushing the picture aside.
    SetWindowLongW(button_->hwnd(), GWL_STYLE,
                   GetWindowLongW(button_->hwnd(), GWL_STYLE) | BS_ICON);
    SetWindowLongW(button_->hwnd(), GWL_STYLE,
                   GetWindowLongW(button_->hwnd(), GWL_STYLE) & ~WS_TABSTOP);
    SetWindowPos(button_->hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    button_->OnClick = [this] {
        if (OnButtonClick) OnButtonClick();
    };
    set_right_margin(button_width(rect) + 2);
}

void ButtonEdit::layout() {
    Edit::layout();
    if (button_) button_->layout();
}

void ButtonEdit::on_command(WORD code) {
    if (code == EN_CHANGE) text_changed();
}

FolderPathEdit::FolderPathEdit(Form& form, const std::string& name, DesignRect rect, int picture)
    : ButtonEdit(form, name, rect, picture, ControlKind::FolderPathEdit) {
    OnButtonClick = [this] { browse(); };
}

void FolderPathEdit::browse() {
    const std::wstring current = window_text();
    const bool is_folder = !current.empty() && is_existing_directory(current);
    const auto chosen = choose_folder(form().hwnd(), L"Verzeichnis w\u00e4hlen",
                                      is_folder ? current : std::wstring());
    if (chosen) set_window_text(*chosen);
}

void FolderPathEdit::layout() {
    ButtonEdit::layout();
    text_changed();
}

void FolderPathEdit::text_changed() {
    const std::wstring text = window_text();
    SIZE size{};
    {
        const WindowDC dc(hwnd());
        const SelectedObject with_font(dc.get(), font());
        GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    }
    RECT client;
    GetClientRect(hwnd(), &client);
    const int room = client.right - form().scale(button_width(design()) + 6);
    set_hint(size.cx > room ? text : std::wstring());
}

}  // namespace tastomat::ui
