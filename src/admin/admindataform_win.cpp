#include "admin/admindataform_win.h"

#include "admin/run_as.h"
#include "platform/win32/account_start_win.h"
#include "ui/keyboard.h"
#include "ui/secret_field.h"

namespace tastomat {
namespace {
constexpr int kClientWidth = 254;
constexpr int kClientHeight = 247;
// Indices into the dialog's pictures.
enum Picture { kOk, kHelp };
}  // namespace

TAdmindataform1::TAdmindataform1(Tfishotkey& Adminhotkey, KeyboardLayout& keyboard,
                                 ui::DialogShared shared, std::function<void()> on_hotkey_set)
    : Form("Admindataform1", L"Tahoma"),
      Adminhotkey_(Adminhotkey),
      keyboard_(keyboard),
      on_hotkey_set_(std::move(on_hotkey_set)) {
    create_dialog({.class_name = L"TTastomatAdmindataform",
                   .caption = L"Administratoreinstellungen",
                   .placement = ui::Placement::from_launcher,
                   .icon = &shared.icon,
                   .pictures = {ui::Glyph::Ok, ui::Glyph::Help},
                   .help = &shared.help,
                   .topic = {.page = L"administrator.htm"}});
    create_controls();
    set_client_size(kClientWidth, kClientHeight);
    set_focus_control(benutzername->hwnd());
    ui::guarded(hwnd(), [this] { FormCreate(); });
}

TAdmindataform1::~TAdmindataform1() = default;

void TAdmindataform1::create_controls() {
    benutzername = std::make_unique<ui::LabeledEdit>(
        *this, "benutzername", ui::DesignRect{16, 32, 121, 24}, L"Benutzername:");
    // Masked: the password of an administrator account must not be readable over the
    // user's shoulder.
    passwort = std::make_unique<ui::LabeledEdit>(*this, "passwort", ui::DesignRect{16, 88, 121, 24},
                                                 L"Passwort:", ES_PASSWORD);
    // Shows the hotkey it holds; keys are captured, never typed.
    kuerzel = std::make_unique<ui::KeyEdit>(*this, "kuerzel", ui::DesignRect{16, 144, 121, 24},
                                            L"Tastenk\u00fcrzel:");
    kuerzel->OnKeyDown = [this](WORD key) { kuerzelKeyDown(key, ui::current_shift()); };
    Button1 = std::make_unique<ui::Button>(*this, "Button1", ui::DesignRect{16, 200, 89, 33}, L"OK",
                                           kOk, IDOK, true);
    Button1->OnClick = [this] { hide(); };
    Button2 = std::make_unique<ui::Button>(*this, "Button2", ui::DesignRect{136, 200, 89, 33},
                                           L"Hilfe", kHelp);
    Button2->OnClick = [this] { show_help(); };
}

void TAdmindataform1::FormCreate() {
    // The field is empty at start, so the run-as hotkey has no key.
    Adminhotkey_.SetKey(TextToShortCut(kuerzel->text(), keyboard_));
}

void TAdmindataform1::kuerzelKeyDown(WORD Key, ShiftState Shift) {
    // A key that types, or Escape or Backspace, without Ctrl or Alt would be taken from
    // every program as the run-as hotkey.
    if (!takes_as_hotkey(Key, Shift, keyboard_)) return;
    Adminhotkey_.SetKey(ShortCut(Key, Shift));
    kuerzel->set_text(ShortCutToText(Adminhotkey_.Key(), keyboard_));
    Adminhotkey_.SetKey(TextToShortCut(kuerzel->text(), keyboard_));
    if (on_hotkey_set_) on_hotkey_set_();
}

bool TAdmindataform1::Runas(const std::string& exe, const std::string& dir,
                            const std::string& param) {
    return start_as_account(account(), run_as_command_line(exe, param), dir);
}

Account TAdmindataform1::account() const {
    return {benutzername->text(), ui::secret_window_text(passwort->hwnd())};
}

void TAdmindataform1::open_from_launcher() {
    place();
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
}

void TAdmindataform1::hide() { ShowWindow(hwnd(), SW_HIDE); }

LRESULT TAdmindataform1::on_message(UINT msg, WPARAM wp, LPARAM lp) {
    // Closing, by the frame or by Escape, only hides; the fields live for the whole run.
    if (msg != WM_CLOSE && !ui::escape_command(msg, wp, lp)) return Form::on_message(msg, wp, lp);
    hide();
    return 0;
}

}  // namespace tastomat
