#pragma once
// Single-line edits with a small button of their own at the right end: the parameter
// field's file button and the folder path field.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "ui/controls.h"

namespace tastomat::ui {

class ButtonEdit : public Edit {
  public:
    // picture: the button's, an index into the pictures of the form's description.
    ButtonEdit(Form& form, const std::string& name, DesignRect rect, int picture,
               ControlKind kind = ControlKind::Edit);
    std::function<void()> OnButtonClick;
    void layout() override;
    void on_command(WORD code) override;

  protected:
    virtual void text_changed() {}

  private:
    std::unique_ptr<Button> button_;
};

// A path line: the button opens the folder chooser and puts the chosen folder into the
// line; when the text is wider than the line the tooltip shows the whole path.
class FolderPathEdit : public ButtonEdit {
  public:
    FolderPathEdit(Form& form, const std::string& name, DesignRect rect, int picture);
    std::string path() const { return text(); }
    void set_path(const std::string& path) { set_text(path); }
    void layout() override;

  protected:
    void text_changed() override;

  private:
    void browse();
};

}  // namespace tastomat::ui
