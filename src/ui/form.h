#pragma once
// A window with named components: its controls register themselves in creation order
// (the form-state store walks that list), are laid out from 120-dpi design rectangles
// scaled to the window's dpi, and get their tooltips from one tooltip control.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/win32/scoped.h"
#include "support/form_state.h"
#include "ui/application.h"
#include "ui/help_viewer.h"
#include "ui/icons.h"
#include "ui/program_icon.h"
#include "ui/tooltip.h"
#include "ui/window.h"

namespace tastomat::ui {

class Button;
class Control;
class PopupMenu;

// What the program's windows share, from the program's owner: its icon and its help.
struct DialogShared {
    const ProgramIcon& icon;
    ProgramHelp& help;
};

// Where a dialog appears each time it is shown.
enum class Placement {
    // Centred over its owner, never beyond the desktop's left and top edges.
    over_owner,
    // Where it was designed: the top-left corner of the screen.
    as_designed,
    // Opened from the launcher: at the bottom right of the work area, above the launcher's
    // badge while it is the active window, an ordinary window otherwise.
    from_launcher,
};

// Everything about a dialog that is not its controls, made into a window by the base.
struct DialogDescription {
    const wchar_t* class_name = nullptr;
    std::wstring caption{};
    // A fixed dialog frame, or a frame that sizes, minimises and maximises.
    bool sizable = false;
    // The window it belongs to: above it, hidden and disabled with it. Set at creation, the
    // only way Windows documents for a top-level window's owner.
    HWND owner = nullptr;
    Placement placement = Placement::over_owner;
    // The program's, in the title bar and in Alt+Tab; the system's default without.
    const ProgramIcon* icon = nullptr;
    // The buttons' pictures, drawn at kButtonGlyphSize for the window's dpi; a button names
    // its picture by its index here.
    std::vector<Glyph> pictures{};
    // Help, the viewer and where in the file; nothing without a viewer.
    ProgramHelp* help = nullptr;
    HelpTopic topic{};
};

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

    // A button shows the picture at index of the description's list, drawn anew whenever
    // the window moves to a screen of another dpi; as does a menu item.
    void show_picture(Button& button, int index);
    void show_picture(PopupMenu& menu, const std::wstring& item, int index);
    // Opens the help of the description; nothing when it has none.
    void show_help() const;
    // Puts the window where the description says, for showing it now.
    void place();

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
    // Creates the window the description tells of, with dialog keyboard handling for as
    // long as it lives, its font and its pictures; then add controls and set the client size.
    void create_dialog(DialogDescription description);
    HWND owner() const { return description_.owner; }
    // Shows the window and runs the message loop until it is hidden or destroyed, with the
    // program's other windows disabled meanwhile.
    void run_modal();

  private:
    struct PictureUse {
        Button* button;
        PopupMenu* menu;
        std::wstring item;
        int index;
    };
    void make_font();
    void make_pictures();
    void apply_picture(const PictureUse& use) const;
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
    DialogDescription description_;
    std::unique_ptr<ImageList> pictures_;
    std::vector<PictureUse> picture_uses_;
    int client_width_ = 0, client_height_ = 0;
};

}  // namespace tastomat::ui
