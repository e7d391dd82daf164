#pragma once
// A window with named components: its controls register themselves in creation order
// (the form-state store walks that list), are laid out from 120-dpi design rectangles
// scaled to the window's dpi, and get their tooltips from one tooltip control.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/scoped.h"
#include "support/form_state.h"
#include "ui/application.h"
#include "ui/tooltip.h"
#include "ui/window.h"

namespace tastomat::ui {

class Control;

class Form : public Window, public FormComponents {
  public:
    Form(std::string component_name, std::wstring font_face, int font_points = 8);
    ~Form() override;

    std::string component_name() const override { return name_; }
    std::vector<FormControl*> components() const override { return components_; }

    // Called by the components themselves as they are constructed.
    void register_component(FormControl& component);
    void register_control(Control& control);
    void unregister_component(FormControl& component);
    void unregister_control(Control& control);
    UINT next_control_id() { return next_id_++; }

    HFONT font() const { return font_.get(); }
    // A new font at the form's current dpi in another face, of the form's size or of the
    // given one in points.
    HFONT create_font(const std::wstring& face, int points = 0) const;
    // The control that gets the keyboard focus when the window is activated next.
    void set_focus_control(HWND control) { focus_ = control; }

    // The window's own tooltip, shown for controls whose tooltip text is empty.
    void set_hint(const std::wstring& text);
    const std::wstring& hint() const { return hint_; }
    // A control's tooltip; an empty text falls back to the window's own.
    void set_control_hint(HWND control, const std::wstring& text);

    // Client size of the design, in 120-dpi pixels; the window is sized to it.
    void set_client_size(int width, int height);
    // Places every control at its design rectangle scaled to the current dpi.
    void layout();

    // The decimal separator of the user's locale, for the form-state store.
    static char decimal_separator();

  protected:
    // Handles WM_COMMAND from controls, WM_DPICHANGED and the focus on activation;
    // derived forms pass the messages they do not handle on to this.
    LRESULT on_message(UINT msg, WPARAM wp, LPARAM lp) override;
    // Called after the window itself was created: makes the font and the tooltip control.
    void form_created();
    // Creates the window as a dialog frame that gets dialog keyboard handling for as long
    // as it lives, and makes its font; then add controls and set the client size.
    void create_dialog(const wchar_t* class_name, const std::wstring& caption, HICON icon = nullptr,
                       HICON small_icon = nullptr);
    // Shows the window and runs the message loop until it is hidden or destroyed, with the
    // program's other windows disabled meanwhile.
    void run_modal();
    // After the window moved to a screen of another density and was laid out anew:
    // forms with pictures draw them again at the new size here.
    virtual void dpi_changed() {}

  private:
    void make_font();
    std::wstring& tool_text(HWND control);

    std::string name_;
    std::wstring font_face_;
    int font_points_;
    ScopedFont font_;
    Tooltip tooltip_;
    HWND focus_ = nullptr;
    std::wstring hint_;
    struct Tool {
        HWND hwnd;
        std::wstring text;
    };
    std::vector<Tool> tools_;
    std::vector<FormControl*> components_;
    std::vector<Control*> controls_;
    UINT next_id_ = 1000;
    DialogKeys dialog_keys_;
    int client_width_ = 0, client_height_ = 0;
};

}  // namespace tastomat::ui
