#include "app/main_form_win.h"

#include <exception>

#include "admin/admindataform_win.h"
#include "admin/run_as.h"
#include "app/hotkey_warning.h"
#include "platform/win32/account_start_win.h"
#include "platform/win32/com_win.h"
#include "platform/win32/drives_win.h"
#include "platform/win32/scoped.h"
#include "platform/win32/shell_win.h"
#include "platform/win32/wide.h"
#include "settings_ui/programmliste_win.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"

namespace tastomat {
namespace {

constexpr UINT_PTR kBlinkTimer = 1;
constexpr UINT kBlinkInterval = 200;
constexpr int kDesignWidth = 159;
constexpr int kDesignHeight = 56;
constexpr int kLabelX = 16;
constexpr int kLabelY = 16;
constexpr int kFontHeight = 13;
constexpr COLORREF kRed = RGB(255, 0, 0);

}  // namespace

Tmain::Tmain(Platform& platform, const ui::ProgramIcon& icon, LauncherWindows& windows)
    : platform_(platform),
      windows_(windows),
      probes_(std::make_shared<WinDriveProbes>()),
      lookups_(tasks_.poster(), probes_,
               [this](const StartRequest& request, const StartFindings& findings) {
                   finish_start(request, findings);
               }),
      color_(GetSysColor(COLOR_BTNFACE)) {
    CreateParams params;
    params.class_name = L"TTastomatMain";
    params.title = L"Tastomat";
    params.style = WS_POPUP;
    // A tool window keeps the badge off the taskbar and out of Alt+Tab.
    params.ex_style = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
    params.x = params.y = 0;
    params.width = kDesignWidth;
    params.height = kDesignHeight;
    params.icon = icon.large();
    params.small_icon = icon.small();
    params.background = nullptr;
    create(params);

    Popupmenu1.add(L"Zeigen1", L"Zeigen", [this] { Hotkeyhotkey(); });
    Popupmenu1.add(L"Verbergen1", L"Verbergen", [this] { Verbergen(); });
    Popupmenu1.add(L"Einstellungen1", L"Einstellungen Tastomat", [this] { Einstellungen1Click(); });
    Popupmenu1.add(L"Einstellungenadministrator1", L"Einstellungen Administrator",
                   [this] { Einstellungenadministrator1Click(); });
    Popupmenu1.add(L"Beenden1", L"Beenden", [this] { Beenden1Click(); });

    Trayicon = std::make_unique<ui::TrayIcon>(hwnd());
    Trayicon->Hint = L"TastomatPorable";
    Trayicon->Popup = &Popupmenu1;

    Adminhotkey = std::make_unique<Tfishotkey>();
    Adminhotkey->Onhotkey = [this](Tfishotkey&) { Adminhotkeyhotkey(); };
    HotKey = std::make_unique<Tfishotkey>();
    HotKey->Onhotkey = [this](Tfishotkey&) { Hotkeyhotkey(); };

    // Components are loaded before the window's creation handler runs; the tray icon
    // only once the guard has let this copy go on (show_tray_icon).
    Trayicon->Icon = icon.small();
    Adminhotkey->Loaded();
    HotKey->Loaded();

    FormCreate();
}

Tmain::~Tmain() {
    if (timer_running_ && hwnd()) KillTimer(hwnd(), kBlinkTimer);
}

void Tmain::warn_if_not_registered(const Tfishotkey& hotkey) {
    const auto warning =
        hotkey_taken_warning(hotkey.Key(), hotkey.Registered(), platform_.keyboard);
    if (warning) Trayicon->show_warning(to_wide(*warning));
}

void Tmain::FormCreate() {
    apply_size();
    // An error here is shown and start-up goes on.
    ui::guarded(hwnd(), [this] { handed_over_ = start_guard() == InstanceRole::handed_over; });
}

void Tmain::show_tray_icon() { Trayicon->Loaded(); }

void Tmain::watch_volume() {
    Volumewatch = std::make_unique<VolumeWatch>(hwnd(), to_wide(platform_.folders.module_path()));
}

InstanceRole Tmain::start_guard() {
    Oneinstance = std::make_unique<Toneinstance>(hwnd());
    return Oneinstance->Init();
}

void Tmain::apply_size() {
    const int width = scale(kDesignWidth);
    const int height = scale(kDesignHeight);
    // The badge always sits in the top-left corner, whatever was stored or dragged.
    SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, width, height, SWP_NOACTIVATE);
    SetWindowRgn(hwnd(), CreateEllipticRgn(0, 0, width, height), TRUE);
    LOGFONTW lf{};
    lf.lfHeight = -scale(kFontHeight);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpyW(lf.lfFaceName, L"MS Sans Serif");
    font_.reset(CreateFontIndirectW(&lf));
}

void Tmain::create_tooltip() {
    // Made at the first touch of the mouse rather than at start, where every window costs
    // time before the hotkey answers. No owner: under Wine an owned window would hand the
    // badge to the X window manager. The key summary has one line per assigned slot.
    tooltip_.create(nullptr, scale(600));
    tooltip_.add(hwnd(), hwnd(), tooltip_text_);
}

void Tmain::set_tooltip(const std::wstring& text) {
    if (text == tooltip_text_) return;
    tooltip_text_ = text;
    tooltip_.set_text(hwnd(), hwnd(), tooltip_text_);
}

void Tmain::show_badge(bool admin) {
    Trayicon->ShowMainForm();
    // Take the keyboard from whatever application had it, so the very next key press
    // reaches the badge; a hotkey message is what permits this.
    SetForegroundWindow(hwnd());
    SetActiveWindow(hwnd());
    SetFocus(hwnd());
    Adminflag = admin;
    set_caption(admin ? L"Start als Admin..." : L"Start als User...");
}

void Tmain::Hotkeyhotkey() { show_badge(false); }

void Tmain::Adminhotkeyhotkey() { show_badge(true); }

void Tmain::Verbergen() {
    Trayicon->HideMainForm();
    ShowWindow(hwnd(), SW_HIDE);
}

void Tmain::Beenden1Click() {
    // What the open settings window holds is kept, as its close would keep it. When that
    // cannot be written the program stays, so the edit is not lost; the error box said why.
    Tprogrammliste* settings = windows_.loaded_settings();
    if (settings && !settings->save_if_open()) return;
    PostMessageW(hwnd(), WM_CLOSE, 0, 0);
}

void Tmain::Einstellungen1Click() {
    const auto windows = windows_.on_need();
    if (!windows) return;
    windows->settings.open_from_launcher();
    // Closing the settings window arms the launcher hotkey it holds.
    if (!windows->settings.visible()) warn_if_not_registered(*HotKey);
}

void Tmain::Einstellungenadministrator1Click() {
    if (const auto windows = windows_.on_need()) windows->admin.open_from_launcher();
}

void Tmain::Timertimer() {
    if (!visible()) return;
    Leuchtend = !Leuchtend;
    color_ = Leuchtend ? kRed : GetSysColor(COLOR_BACKGROUND);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void Tmain::Formmousemove() {
    // Not built here while the badge is up (see TastomatProgram::run); until the settings
    // window is there the tooltip says "Tastomat".
    if (const Tprogrammliste* settings = windows_.loaded_settings())
        set_tooltip(to_wide(settings->Erg()));
}

void Tmain::Volumeremoval() {
    // As the end of the session does: what the open settings window holds is not lost.
    // The system waits for the stick to be let go: the program ends whether or not that
    // write worked.
    if (Tprogrammliste* settings = windows_.loaded_settings()) settings->save_if_open();
    PostMessageW(hwnd(), WM_CLOSE, 0, 0);
}

void Tmain::Formkeydown(std::uint16_t key, ShiftState shift) {
    carry_out(keys_.Formkeydown(key, shift));
}

void Tmain::Formkeypress(char16_t key) { carry_out(keys_.Formkeypress(key)); }

void Tmain::carry_out(const KeyCommand& command) {
    switch (command.kind) {
        case KeyCommand::None:
            return;
        case KeyCommand::StartSlot:
            start_slot(command.slot);
            return;
        case KeyCommand::Verbergen:
            Verbergen();
            return;
        case KeyCommand::Quit:
            Beenden1Click();
            Trayicon->HideMainForm();
            return;
        case KeyCommand::OpenSettings:
            Einstellungen1Click();
            Trayicon->HideMainForm();
            return;
        case KeyCommand::HideMainForm:
            Trayicon->HideMainForm();
            return;
    }
}

ProgramStarter Tmain::starter(TAdmindataform1& admin) {
    return ProgramStarter({probes_, platform_.drives, platform_.shell, admin},
                          platform_.folders.module_path());
}

void Tmain::start_slot(int index) {
    // The badge goes at once, and without handing the foreground back: the program the key
    // starts may take it, because the launcher had it when the user pressed the key.
    allow_started_program_to_the_front();
    Trayicon->hide_after_start();
    const auto windows = windows_.on_need();
    if (!windows) return;
    // The probes that may wait on a drive run off this thread, so that a drive that does
    // not answer leaves the hotkeys and the tray menu working.
    lookups_.look_up(
        starter(windows->admin).prepare_slot(windows->settings.table(), index, Adminflag));
}

void Tmain::finish_start(const StartRequest& request, const StartFindings& findings) {
    const auto windows = windows_.on_need();
    if (!windows) return;  // the program is ending
    const std::string user = request.admin ? windows->admin.account().user : std::string();
    const StartPlan plan = plan_start(request, findings, [this, &user](const std::string& found) {
        return confirm_run_as(found, user);
    });
    if (starts_at_once(plan, *probes_)) {
        const QuietDriveErrors quiet_drives(platform_.drives);
        join_com();  // kept for the run: the shell's extensions need it at every start
        after_start(request, run_plan(plan, request,
                                      [this, &windows, &request](const std::string& path,
                                                                 const std::string& dir,
                                                                 const std::string& param) {
                                          return request.admin
                                                     ? windows->admin.run_as(path, dir, param)
                                                     : platform_.shell.open(path, param, dir);
                                      }));
        return;
    }
    // A start on a share or a removable drive may wait as long as a lookup there: it runs
    // on a worker, with the account as it stands now, and hands the result back here.
    // Shared rather than copied: the password is never copied, and its one buffer is
    // zeroed when the last holder lets go.
    std::shared_ptr<const Account> account;
    if (request.admin) account = std::make_shared<const Account>(windows->admin.account());
    starts_.run([this, plan, request, account, window = tasks_.poster()] {
        StartResult result;
        std::exception_ptr error;
        try {
            // ShellExecuteEx and the shell's extensions want a single-threaded apartment.
            const ScopedCom com(COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
            const QuietThreadErrors quiet;
            result = run_plan(plan, request,
                              [&account](const std::string& path, const std::string& dir,
                                         const std::string& param) {
                                  if (account)
                                      return start_as_account(
                                          *account, run_as_command_line(path, param), dir);
                                  return WinShell().open(path, param, dir);
                              });
        } catch (...) {
            error = std::current_exception();
        }
        // Tasks run only while the launcher's windows live, on their thread.
        window->post([this, request, result, error] {
            if (error) std::rethrow_exception(error);  // shown in the error box
            after_start(request, result);
        });
    });
}

bool Tmain::confirm_run_as(const std::string& found, const std::string& user) {
    // Not owned by the badge, which has hidden by now: a window owned by a hidden one has
    // no taskbar button to find it by once another program covers it, and closing it would
    // hand the activation back to a window that cannot be seen.
    return ui::ask_yes_no(
        nullptr, L"Das Programm ist nicht mehr an seinem Platz. Gefunden wurde es unter\r" +
                     to_wide(found) + L"\r\rEs unter dem Konto \"" + to_wide(user) +
                     L"\" starten?");
}

void Tmain::after_start(const StartRequest& request, const StartResult& result) {
    if (result.new_program) {
        // The table as it is now: the user may have changed the slot since the key press.
        if (const auto windows = windows_.on_need())
            follow_start(windows->settings.table(), request, result);
    }
    if (result.not_found)
        Trayicon->show_warning(L"Programm nicht gefunden: " + to_wide(*result.not_found));
}

void Tmain::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd(), &ps);
    RECT client;
    GetClientRect(hwnd(), &client);
    brush_.reset(CreateSolidBrush(color_));
    FillRect(dc, &client, brush_.get());
    {
        const SelectedObject with_font(dc, font_.get());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(255, 255, 255));
        const wchar_t* label = L"Tastomat aktiv!";
        TextOutW(dc, scale(kLabelX), scale(kLabelY), label, lstrlenW(label));
    }
    EndPaint(hwnd(), &ps);
}

LRESULT Tmain::on_message(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_PAINT:
            paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_SHOWWINDOW:
            // Blink only while the badge can be seen: a hidden tick would do nothing
            // but wake the processor five times a second.
            if (wp && !timer_running_) {
                timer_running_ = SetTimer(hwnd(), kBlinkTimer, kBlinkInterval, nullptr) != 0;
            } else if (!wp && timer_running_) {
                KillTimer(hwnd(), kBlinkTimer);
                timer_running_ = false;
            }
            // Start-up work waits while the badge is up; the loop looks again once it hides.
            if (!wp) PostMessageW(hwnd(), WM_NULL, 0, 0);
            break;
        case WM_TIMER:
            if (wp == kBlinkTimer) Timertimer();
            return 0;
        case WM_KEYDOWN:
            Formkeydown(static_cast<std::uint16_t>(wp), ui::current_shift());
            return 0;
        case WM_SYSKEYDOWN:
            // Alt+F-key is still the F-key's slot; Alt+F4 must not close the launcher.
            Formkeydown(static_cast<std::uint16_t>(wp), ui::current_shift());
            if (wp >= VK_F1 && wp <= VK_F12) return 0;
            break;
        case WM_CHAR:
            Formkeypress(static_cast<char16_t>(wp));
            return 0;
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            if (!tooltip_) {
                create_tooltip();
                // It subclasses the badge from now on; this message came before it did.
                tooltip_.relay(hwnd(), msg, wp, lp);
            }
            Formmousemove();
            break;
        case WM_CONTEXTMENU:
            Popupmenu1.track(hwnd(), ui::context_menu_point(lp, hwnd(), 0));
            return 0;
        case WM_SYSCOMMAND:
            // Minimising hides the badge: it lives in the notification area.
            if ((wp & 0xFFF0) == SC_MINIMIZE) {
                ShowWindow(hwnd(), SW_HIDE);
                Trayicon->HideMainForm();
                return 0;
            }
            break;
        case WM_DEVICECHANGE:
            if (Volumewatch && Volumewatch->removal_requested(wp, lp)) Volumeremoval();
            return TRUE;
        case WM_DPICHANGED:
            apply_size();
            InvalidateRect(hwnd(), nullptr, TRUE);
            return 0;
        case WM_CLOSE:
            DestroyWindow(hwnd());
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return default_message(msg, wp, lp);
}

}  // namespace tastomat
