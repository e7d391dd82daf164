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

    // Placed as its description says, shown, and run until it closes.
    ModalResult show_modal();
    void close_with(ModalResult result);

  protected:
    LRESULT on_message(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    ModalResult result_ = ModalResult::None;
};

}  // namespace tastomat::ui
