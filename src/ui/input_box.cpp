#include "ui/input_box.h"

#include <memory>

#include "platform/win32/wide.h"
#include "ui/controls.h"
#include "ui/modal_form.h"

namespace tastomat::ui {
namespace {

class InputBox final : public ModalForm {
  public:
    InputBox(HWND owner, const std::wstring& caption, const std::wstring& prompt,
             const std::wstring& value)
        : ModalForm("InputBox", L"Tahoma") {
        create_dialog({.class_name = L"TTastomatInputBox", .caption = caption, .owner = owner});
        label_ = std::make_unique<Label>(*this, "Prompt", DesignRect{10, 12, 380, 18}, prompt);
        edit_ = std::make_unique<Edit>(*this, "Edit", DesignRect{10, 34, 380, 24});
        ok_ = std::make_unique<Button>(*this, "OK", DesignRect{115, 72, 85, 30}, L"OK", kNoPicture,
                                       IDOK, true);
        cancel_ = std::make_unique<Button>(*this, "Cancel", DesignRect{210, 72, 85, 30},
                                           L"Abbrechen", kNoPicture, IDCANCEL);
        ok_->OnClick = [this] { close_with(ModalResult::Ok); };
        cancel_->OnClick = [this] { close_with(ModalResult::Cancel); };
        set_client_size(400, 114);
        edit_->set_window_text(value);
        SendMessageW(edit_->hwnd(), EM_SETSEL, 0, -1);
        set_focus_control(edit_->hwnd());
    }
    std::wstring value() const { return edit_->window_text(); }

  private:
    std::unique_ptr<Label> label_;
    std::unique_ptr<Edit> edit_;
    std::unique_ptr<Button> ok_, cancel_;
};

}  // namespace

bool input_query(HWND owner, const std::wstring& caption, const std::wstring& prompt,
                 std::wstring& value) {
    InputBox box(owner, caption, prompt, value);
    if (box.show_modal() != ModalResult::Ok) return false;
    value = box.value();
    return true;
}

}  // namespace tastomat::ui
