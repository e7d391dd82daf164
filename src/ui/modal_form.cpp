#include "ui/modal_form.h"

#include <algorithm>

#include "ui/application.h"

namespace tastomat::ui {

void center_over(HWND window, HWND owner) {
    RECT w, o;
    GetWindowRect(window, &w);
    if (owner && IsWindowVisible(owner)) {
        GetWindowRect(owner, &o);
    } else {
        o = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    const int width = w.right - w.left, height = w.bottom - w.top;
    const int left = std::max(static_cast<int>(GetSystemMetrics(SM_XVIRTUALSCREEN)),
                              static_cast<int>(o.left + (o.right - o.left - width) / 2));
    const int top = std::max(static_cast<int>(GetSystemMetrics(SM_YVIRTUALSCREEN)),
                             static_cast<int>(o.top + (o.bottom - o.top - height) / 2));
    SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

ModalResult ModalForm::show_modal(HWND owner) {
    result_ = ModalResult::None;
    SetWindowLongPtrW(hwnd(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    if (centred_) center_over(hwnd(), owner);
    run_modal();
    if (owner && IsWindowVisible(owner)) SetForegroundWindow(owner);
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
