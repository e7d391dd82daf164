#include "settings_ui/programmliste_win.h"

#include "components/shortcut.h"
#include "platform/win32/wide.h"
#include "table/table_file.h"
#include "ui/application.h"
#include "ui/placement.h"

namespace tastomat {
namespace {
constexpr int kClientWidth = 586;
constexpr int kClientHeight = 597;
constexpr int kGroupHeight = 125;
constexpr int kListId = 100;
}  // namespace

Tprogrammliste::Tprogrammliste(Tfishotkey& HotKey, Platform& platform,
                               const SettingsLocation& location)
    : HotKey_(HotKey), platform_(platform), location_(location) {
    Spec spec;
    spec.class_name = L"TTastomatProgrammliste";
    spec.title = L"Einstellungen";
    spec.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    spec.ex_style = WS_EX_DLGMODALFRAME;
    spec.x = spec.y = 0;
    spec.width = kClientWidth;
    spec.height = kClientHeight;
    spec.icon = ui::Application::instance().Icon;
    create(spec);
    create_controls();
    layout();
    table_.on_program_changed = [this](int index) { set_list_line(index); };
    ui::Application::instance().add_dialog(hwnd());
    ui::guarded(hwnd(), [this] { FormCreate(); });
}

Tprogrammliste::~Tprogrammliste() { ui::Application::instance().remove_dialog(hwnd()); }

void Tprogrammliste::create_controls() {
    programme_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", nullptr,
                                 WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY |
                                     LBS_NOINTEGRALHEIGHT,
                                 0, 0, 0, 0, hwnd(), reinterpret_cast<HMENU>(kListId),
                                 GetModuleHandleW(nullptr), nullptr);
    SendMessageW(programme_, WM_SETFONT,
                 reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
}

void Tprogrammliste::layout() {
    RECT r{0, 0, scale(kClientWidth), scale(kClientHeight)};
    AdjustWindowRectExForDpi(&r, GetWindowLongW(hwnd(), GWL_STYLE), FALSE,
                             GetWindowLongW(hwnd(), GWL_EXSTYLE), dpi());
    SetWindowPos(hwnd(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    MoveWindow(programme_, 0, 0, scale(kClientWidth), scale(kClientHeight - kGroupHeight), TRUE);
}

void Tprogrammliste::FormCreate() {
    IniFile ini = begin_table_load(table_, location_.SettingsFile, platform_.files,
                                   platform_.code_page);
    fill_list();
    HotKey_.SetKey(TextToShortCut(kuerzel_text, platform_.keyboard));
    HotKey_.SetEnabled(true);
    finish_table_load(table_, ini, platform_.clock);
}

void Tprogrammliste::fill_list() {
    SendMessageW(programme_, LB_RESETCONTENT, 0, 0);
    for (int i = 0; i < kSlotCount; ++i) {
        const std::wstring line = to_wide(table_.list_line(i));
        SendMessageW(programme_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
}

void Tprogrammliste::set_list_line(int index) {
    if (SendMessageW(programme_, LB_GETCOUNT, 0, 0) <= index) return;
    const LRESULT selected = SendMessageW(programme_, LB_GETCURSEL, 0, 0);
    const std::wstring line = to_wide(table_.list_line(index));
    SendMessageW(programme_, LB_DELETESTRING, index, 0);
    SendMessageW(programme_, LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(line.c_str()));
    if (selected == index) SendMessageW(programme_, LB_SETCURSEL, index, 0);
}

void Tprogrammliste::Getprogparams(int Index, std::string& Exe, std::string& Dir,
                                   std::string& Param) {
    table_.Getprogparams(Index, Exe, Dir, Param, platform_.files);
}

void Tprogrammliste::set_program(int index, const std::string& program) {
    table_.set_program(index, program);
}

void Tprogrammliste::open_from_launcher(HWND launcher) {
    ui::place_bottom_right(hwnd());
    ui::set_popup_parent(hwnd(), launcher);
    if (visible()) {
        SetForegroundWindow(hwnd());
        SetFocus(programme_);
        return;
    }
    FormShow();
    ui::Application::instance().run_modal(hwnd());
}

void Tprogrammliste::FormShow() {
    // The launcher hotkey is typed into the hotkey field while the window is open.
    HotKey_.SetEnabled(false);
}

void Tprogrammliste::Formhide() {
    HotKey_.SetKey(TextToShortCut(kuerzel_text, platform_.keyboard));
    HotKey_.SetEnabled(true);
}

void Tprogrammliste::Formclose() {
    HotKey_.SetEnabled(true);
    Saveprogs();
}

void Tprogrammliste::Saveprogs() {
    save_table(table_, location_.SettingsFile, platform_.files, platform_.code_page);
}

LRESULT Tprogrammliste::on_message(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CLOSE: {
            // A write error is shown; the window still closes, the table stays in memory.
            ui::guarded(hwnd(), [this] { Formclose(); });
            ShowWindow(hwnd(), SW_HIDE);
            Formhide();
            return 0;
        }
        case WM_DPICHANGED:
            layout();
            return 0;
    }
    return default_message(msg, wp, lp);
}

}  // namespace tastomat
