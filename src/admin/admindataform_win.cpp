#include "admin/admindataform_win.h"

#include "ui/application.h"
#include "ui/placement.h"

namespace tastomat {
namespace {
constexpr int kClientWidth = 254;
constexpr int kClientHeight = 247;
}  // namespace

TAdmindataform1::TAdmindataform1(Tfishotkey& Adminhotkey) : Adminhotkey_(Adminhotkey) {
    CreateParams params;
    params.class_name = L"TTastomatAdmindataform";
    params.title = L"Administratoreinstellungen";
    params.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    params.ex_style = WS_EX_DLGMODALFRAME;
    params.x = params.y = 0;
    params.icon = ui::Application::instance().Icon;
    RECT r{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&r, params.style, FALSE, params.ex_style);
    params.width = r.right - r.left;
    params.height = r.bottom - r.top;
    create(params);
    RECT scaled{0, 0, scale(kClientWidth), scale(kClientHeight)};
    AdjustWindowRectExForDpi(&scaled, params.style, FALSE, params.ex_style, dpi());
    SetWindowPos(hwnd(), nullptr, 0, 0, scaled.right - scaled.left, scaled.bottom - scaled.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // No run-as hotkey until one is typed into the dialog during this run.
    Adminhotkey_.SetKey(0);
}

void TAdmindataform1::open_from_launcher() {
    ui::place_bottom_right(hwnd());
    ui::stay_above_launcher(hwnd());
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
}

LRESULT TAdmindataform1::on_message(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CLOSE) {
        ShowWindow(hwnd(), SW_HIDE);  // closing only hides; the fields live for the run
        return 0;
    }
    return default_message(msg, wp, lp);
}

}  // namespace tastomat
