#include "app/main_form_win.h"

#include "admin/admindataform_win.h"
#include "app/hotkey_warning.h"
#include "platform/win32/drives_win.h"
#include "platform/win32/shell_win.h"
#include "platform/win32/wide.h"
#include "settings_ui/programmliste_win.h"
#include "ui/application.h"
#include "ui/keyboard.h"

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
// Posted by a start's probes when they have found out what there is to start.
constexpr UINT kStartFound = WM_APP + 1;

}  // namespace

Tmain::Tmain(Platform& platform, const ui::ProgramIcon& icon, LauncherWindows& windows)
    : platform_(platform),
      windows_(windows),
      probes_(std::make_shared<WinDriveProbes>()),
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
    found_starts_ = std::make_shared<Mailbox<FoundStart>>(
        [window = hwnd()] { PostMessageW(window, kStartFound, 0, 0); });

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
    // only once the guard has let this copy go on (see FormCreate).
    Trayicon->Icon = icon.small();
    Adminhotkey->Loaded();
    HotKey->Loaded();

    FormCreate();
}

Tmain::~Tmain() {
    found_starts_->close();
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
    ui::guarded(hwnd(), [this] { start_guard(); });
    // A later copy has handed over and ends: no tray icon, no settings window, so it shows
    // nothing and leaves the settings file alone.
    if (ui::Application::instance().terminating()) return;
    Trayicon->Loaded();
    Volumewatch = std::make_unique<VolumeWatch>(hwnd(), to_wide(platform_.folders.module_path()));
}

void Tmain::start_guard() {
    Oneinstance = std::make_unique<Toneinstance>(hwnd());
    Oneinstance->Init();
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
    StartRequest request =
        starter(windows->admin).prepare_slot(windows->settings.table(), index, Adminflag);
    if (std::optional<StartFindings> findings = probe_at_once(request, *probes_)) {
        found_starts_->post({std::move(request), std::move(*findings)});
        return;
    }
    // Anything else is probed off this thread, so that a drive that does not answer leaves
    // the hotkeys and the tray menu working; each key press is a start of its own.
    probe_in_background(std::move(request), probes_, kDriveDeadline,
                        [mailbox = found_starts_](StartRequest request, StartFindings findings) {
                            mailbox->post({std::move(request), std::move(findings)});
                        });
}

void Tmain::finish_starts() {
    while (std::optional<FoundStart> found = found_starts_->take()) {
        const auto windows = windows_.on_need();
        if (!windows) return;  // the program is ending
        const auto& [request, findings] = *found;
        Tprogrammliste& settings = windows->settings;
        const StartResult result =
            starter(windows->admin)
                .finish(request, findings, [&settings](int slot, const std::string& program) {
                    settings.set_program(slot, program);
                });
        if (result.not_found)
            Trayicon->show_warning(L"Programm nicht gefunden: " + to_wide(*result.not_found));
    }
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
        case kStartFound:
            finish_starts();
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
