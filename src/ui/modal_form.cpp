#include "ui/modal_form.h"

namespace tastomat::ui {

ModalResult ModalForm::show_modal() {
    result_ = ModalResult::None;
    place();
    run_modal();
    if (owner() && IsWindowVisible(owner())) SetForegroundWindow(owner());
    return result_ == ModalResult::None ? ModalResult::Cancel : result_;
}

void ModalForm::close_with(ModalResult result) {
    result_ = result;
    ShowWindow(hwnd(), SW_HIDE);
}

LRESULT ModalForm::on_message(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_CLOSE && !escape_command(msg, wp, lp)) return Form::on_message(msg, wp, lp);
    close_with(ModalResult::Cancel);
    return 0;
}

}  // namespace tastomat::ui
