#pragma once
// A dialog-like form shown modally over its owner: OK (Enter) and Cancel (Escape, the
// close box) end it with a result.
#include <windows.h>

#include <string>

#include "ui/form.h"

namespace tastomat::ui {

enum class ModalResult { None, Ok, Cancel };

class ModalForm : public Form {
  public:
    using Form::Form;

    // Centred over the owner, but never beyond the left and top edges of the desktop.
    ModalResult show_modal(HWND owner);
    void close_with(ModalResult result);
    ModalResult modal_result() const { return result_; }

  protected:
    // Keeps the window where it was created instead of centring it over its owner.
    void show_at_designed_position() { centred_ = false; }
    LRESULT on_message(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    ModalResult result_ = ModalResult::None;
    bool centred_ = true;
};

// Places a window centred over another, clamped to the desktop's left and top edges.
void center_over(HWND window, HWND owner);

}  // namespace tastomat::ui
