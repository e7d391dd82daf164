#pragma once
// The child controls a form is built from. Each is a named component of its form with a
// design rectangle at 120 dpi; handlers are plain callbacks the form wires to its own
// member functions.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "support/form_state.h"
#include "ui/form.h"

namespace tastomat::ui {

struct DesignRect {
    int x = 0, y = 0, width = 0, height = 0;
};

// A dialog laid out as its content over a group box of buttons that spans the bottom of
// the client area; the group's controls are placed from the group's top.
struct ButtonGroupLayout {
    int width = 0, height = 0, group_height = 0;

    constexpr int group_top() const { return height - group_height; }
    constexpr DesignRect content() const { return {0, 0, width, group_top()}; }
    constexpr DesignRect group() const { return {0, group_top(), width, group_height}; }
    constexpr DesignRect in_group(int x, int y, int w, int h) const {
        return {x, group_top() + y, w, h};
    }
};

class Control : public FormControl {
  public:
    Control(Form& form, std::string name, ControlKind kind, DesignRect rect);
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    ~Control() override;

    const std::string& component_name() const override { return name_; }
    ControlKind kind() const override { return kind_; }

    HWND hwnd() const { return hwnd_; }
    UINT id() const { return id_; }
    Form& form() const { return form_; }
    const DesignRect& design() const { return rect_; }

    // Moves the control to its design rectangle at the form's dpi.
    virtual void layout();
    // A frame around other controls (kept below them).
    virtual bool frame() const { return false; }
    // A WM_COMMAND notification from this control.
    virtual void on_command(WORD) {}

    void set_hint(const std::wstring& text) { form_.set_control_hint(hwnd_, text); }
    std::wstring window_text() const;
    void set_window_text(const std::wstring& text);
    void focus() { SetFocus(hwnd_); }

    // A face of its own instead of the form's, at the form's size or at its own (points).
    void set_font_face(const std::wstring& face, int points = 0);
    HFONT font() const { return own_font_ ? own_font_.get() : form_.font(); }
    // Applies the font again, made anew for the form's current dpi.
    void update_font();

  protected:
    // id 0 takes the form's next free id.
    void create_window(const wchar_t* window_class, const std::wstring& text, DWORD style,
                       DWORD ex_style = 0, UINT id = 0);
    // Routes the control's own messages through on_subclassed.
    void subclass();
    virtual LRESULT on_subclassed(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT default_subclassed(UINT msg, WPARAM wp, LPARAM lp);

  private:
    static LRESULT CALLBACK subclass_proc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    Form& form_;
    std::string name_;
    ControlKind kind_;
    DesignRect rect_;
    HWND hwnd_ = nullptr;
    UINT id_ = 0;
    bool subclassed_ = false;
    std::wstring font_face_;
    int font_points_ = 0;
    ScopedFont own_font_;
};

inline constexpr int kNoPicture = -1;

// A push button with an optional picture left of its caption: an index into the pictures
// of its form's description.
class Button : public Control {
  public:
    Button(Form& form, std::string name, DesignRect rect, const std::wstring& caption,
           int picture = kNoPicture, UINT id = 0, bool default_button = false);
    std::function<void()> OnClick;
    void on_command(WORD code) override;
    void set_caption(const std::wstring& caption) { set_window_text(caption); }
    // The icon left of the caption; the form keeps it alive while it is shown.
    void set_icon(HICON icon);
    // Stands for the component's Tag.
    int Tag = 0;
};

class GroupBox : public Control {
  public:
    GroupBox(Form& form, std::string name, DesignRect rect, const std::wstring& caption = {});
    bool frame() const override { return true; }
};

class Label : public Control {
  public:
    Label(Form& form, std::string name, DesignRect rect, const std::wstring& caption);
};

// Single selection; its stored state is the selected row.
class ListBox : public Control {
  public:
    ListBox(Form& form, std::string name, DesignRect rect);
    std::function<void()> OnDblClick;
    // Releasing any mouse button over the list.
    std::function<void()> OnMouseUp;

    void clear();
    void add(const std::wstring& line);
    void set_line(int index, const std::wstring& line);
    std::wstring line(int index) const;
    int count() const;

    int index() const override;
    void set_index(int index) override;
    void on_command(WORD code) override;

  protected:
    LRESULT on_subclassed(UINT msg, WPARAM wp, LPARAM lp) override;
};

// A single-line edit; kind Edit, LabeledEdit or FolderPathEdit for the store.
class Edit : public Control {
  public:
    Edit(Form& form, std::string name, DesignRect rect, ControlKind kind = ControlKind::Edit,
         DWORD extra_style = 0);
    std::string text() const override;
    void set_text(const std::string& text) override;
    void layout() override;
    // Room kept free at the right end, for a button drawn over the edit.
    void set_right_margin(int design_pixels);

  private:
    int right_margin_ = 0;
};

// An edit with its caption label above it. OnKeyDown sees every key-down that reaches the
// edit before the edit handles it as usual.
class LabeledEdit : public Edit {
  public:
    LabeledEdit(Form& form, std::string name, DesignRect rect, const std::wstring& label,
                DWORD extra_style = 0);
    std::function<void(WORD key)> OnKeyDown;
    void layout() override;

  protected:
    LRESULT on_subclassed(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    HWND label_ = nullptr;
};

// A read-only labelled edit that reports every key-down except Tab, Enter and a plain
// Escape (which keep their meaning in the window) instead of handling it, and shows what
// the handler makes of it.
class KeyEdit : public LabeledEdit {
  public:
    KeyEdit(Form& form, std::string name, DesignRect rect, const std::wstring& label);

  protected:
    LRESULT on_subclassed(UINT msg, WPARAM wp, LPARAM lp) override;
};

// A menu item of a popup menu as a named component: its checked state is stored.
class PopupMenu;
class MenuItemComponent : public FormControl {
  public:
    MenuItemComponent(Form& form, PopupMenu& menu, std::string name);
    MenuItemComponent(const MenuItemComponent&) = delete;
    MenuItemComponent& operator=(const MenuItemComponent&) = delete;
    ~MenuItemComponent() override;
    const std::string& component_name() const override { return name_; }
    ControlKind kind() const override { return ControlKind::MenuItem; }
    bool checked() const override;
    void set_checked(bool on) override;

  private:
    Form& form_;
    PopupMenu& menu_;
    std::string name_;
};

}  // namespace tastomat::ui
