#include "settings_ui/programmliste_win.h"

#include <utility>

#include "components/shortcut.h"
#include "info/infodialog_win.h"
#include "info/update_server.h"
#include "platform/win32/wide.h"
#include "settings_ui/laufwerksform_win.h"
#include "settings_ui/parameterform_win.h"
#include "settings_ui/slot_editing.h"
#include "support/form_state.h"
#include "support/shortcut_installer.h"
#include "table/table_file.h"
#include "ui/folder_dialog.h"
#include "ui/input_box.h"
#include "ui/keyboard.h"

namespace tastomat {
namespace {

constexpr ui::ButtonGroupLayout kLayout{586, 597, 125};
constexpr const wchar_t* kNothingMarked = L"Kein Eintrag markiert!";
// The window's name in the settings file, its hotkey field and what that holds at first.
constexpr const char* kFormName = "Programmliste";
constexpr const char* kHotkeyField = "kuerzel";
constexpr const char* kDefaultHotkey = "Alt+F12";
// Indices into the window's pictures.
enum Picture { kOk, kInfo, kHelp, kDrive, kParameter, kDelete, kInstall };

FormStateFile form_state_file(Platform& platform) {
    return {platform.files, platform.code_page, ui::Form::decimal_separator()};
}

ui::DesignRect in_group(int x, int y, int width, int height) {
    return kLayout.in_group(x, y, width, height);
}

}  // namespace

void arm_stored_launcher_hotkey(Tfishotkey& HotKey, Platform& platform,
                                const SettingsLocation& location) {
    std::string text = kDefaultHotkey;
    try {
        if (auto stored = stored_control_text(location.SettingsFile, kFormName, kHotkeyField,
                                              form_state_file(platform)))
            text = *stored;
    } catch (const FileError&) {
        return;
    }
    HotKey.SetKey(TextToShortCut(text, platform.keyboard));
    HotKey.SetEnabled(true);
}

Tprogrammliste::Tprogrammliste(Tfishotkey& HotKey, Platform& platform,
                               const SettingsLocation& location, ui::DialogShared shared,
                               SettingsBackground background, Load when)
    : Form(kFormName, L"MS Sans Serif"),
      HotKey_(HotKey),
      platform_(platform),
      location_(location),
      shared_(shared),
      settings_file_(location.SettingsFile, form_state_file(platform)),
      background_(std::move(background)) {
    using ui::Glyph;
    create_dialog({.class_name = L"TTastomatProgrammliste",
                   .caption = L"Einstellungen",
                   .placement = ui::Placement::from_launcher,
                   .icon = &shared.icon,
                   .pictures = {Glyph::Ok, Glyph::Info, Glyph::Help, Glyph::Drive, Glyph::Parameter,
                                Glyph::Delete, Glyph::Install},
                   .help = &shared.help,
                   .topic = {.context = 100}});
    create_controls();
    create_menu();
    set_hint(L"Doppelklicken zum w\u00e4hlen");
    programme->set_hint(L"Doppelklicken um Eintrag zu \u00e4ndern");
    set_client_size(kLayout.width, kLayout.height);
    set_focus_control(programme->hwnd());
    table_.on_program_changed = [this](int index) { set_list_line(index); };
    if (when == Load::at_once) load();
}

void Tprogrammliste::load() {
    // Once, and marked first: an error box of the loading runs a message loop, in which the
    // launcher may ask for the window again.
    if (loaded_) return;
    loaded_ = true;
    ui::guarded(hwnd(), [this] { FormCreate(); });
}

Tprogrammliste::~Tprogrammliste() = default;

void Tprogrammliste::create_controls() {
    using ui::Button;

    // Creation order is the component order the form-state store writes its keys in.
    GroupBox1 = std::make_unique<ui::GroupBox>(*this, "GroupBox1", kLayout.group());
    progdir = std::make_unique<Button>(*this, "progdir", in_group(16, 24, 90, 36), L"&Programm");
    progdir->set_hint(L"Klicken um zwischen Programmen oder Verzeichnissen zu wechseln");
    progdir->OnClick = [this] { Progdirclick(); };
    laufwerkbut = std::make_unique<Button>(*this, "laufwerkbut", in_group(128, 24, 90, 36),
                                           L"&Laufwerk", kDrive);
    laufwerkbut->set_hint(L"Klicken um Laufwerk in allen Programmen anzuapssen");
    laufwerkbut->OnClick = [this] { Laufwerkbutclick(); };
    parameterbut = std::make_unique<Button>(*this, "parameterbut", in_group(240, 24, 90, 36),
                                            L"&Parameter", kParameter);
    parameterbut->OnClick = [this] { Parameterbutclick(); };
    delbut = std::make_unique<Button>(*this, "delbut", in_group(352, 24, 90, 36), L"&L\u00f6schen",
                                      kDelete);
    delbut->set_hint(L"markierten Eintrag l\u00f6schen");
    delbut->OnClick = [this] { Delbutclick(); };
    kuerzel =
        std::make_unique<ui::KeyEdit>(*this, kHotkeyField, in_group(472, 38, 97, 24), L"ShortCut:");
    kuerzel->set_text(kDefaultHotkey);
    kuerzel->set_hint(L"Taste (auch mit STRG+ALT dr\u00fccken");
    kuerzel->OnKeyDown = [this](WORD key) { Kuerzelkeydown(key, ui::current_shift()); };
    okbut =
        std::make_unique<Button>(*this, "okbut", in_group(16, 70, 90, 35), L"OK", kOk, IDOK, true);
    okbut->set_hint(L"Wieder schliessen");
    okbut->OnClick = [this] { Okbutclick(); };
    helpbut =
        std::make_unique<Button>(*this, "helpbut", in_group(128, 70, 90, 35), L"&Hilfe", kHelp);
    helpbut->OnClick = [this] { Helpbutclick(); };
    infobut =
        std::make_unique<Button>(*this, "infobut", in_group(240, 70, 90, 35), L"&Info", kInfo);
    infobut->OnClick = [this] { Infobutclick(); };
    Button1 = std::make_unique<Button>(*this, "Button1", in_group(352, 70, 90, 35),
                                       L"&Installieren", kInstall);
    Button1->set_hint(L"Installieren");
    Button1->OnClick = [this] { Button1Click(); };

    programme = std::make_unique<ui::ListBox>(*this, "programme", kLayout.content());
    programme->OnDblClick = [this] { Programmedblclick(); };
    programme->OnMouseUp = [this] { Programmemouseup(); };

    OpenDialog.Title = L"Programm w\u00e4hlen";
    OpenDialog.Filter =
        L"Ausf\u00fchrbare Dateien (*.exe)|*.exe;*.bat;*.com;*.pif|Alle Dateien (*.*)|*.*";
    OpenDialog.DefaultExt = L"exe";
}

void Tprogrammliste::create_menu() {
    PopupMenu1.add(L"Parameter1", L"Parameter...", [this] { Parameterbutclick(); });
    PopupMenu1.add(L"Verzeichnis1", L"Verzeichnis...", [this] { Verzeichnis1Click(); });
    PopupMenu1.add(L"loeschen", L"L\u00f6schen", [this] { Delbutclick(); });
    show_picture(PopupMenu1, L"loeschen", kDelete);
    for (const char* item : {"Parameter1", "Verzeichnis1", "loeschen"})
        components_.push_back(std::make_unique<ui::MenuItemComponent>(*this, PopupMenu1, item));
}

void Tprogrammliste::FormCreate() {
    IniFile ini = settings_file_.open(*this, table_);
    fill_list();
    HotKey_.SetKey(TextToShortCut(kuerzel->text(), platform_.keyboard));
    HotKey_.SetEnabled(true);
    settings_file_.finish_open(table_, ini, platform_.clock);
}

void Tprogrammliste::fill_list() {
    programme->clear();
    for (int i = 0; i < kSlotCount; ++i) programme->add(to_wide(table_.list_line(i)));
}

void Tprogrammliste::set_list_line(int index) {
    programme->set_line(index, to_wide(table_.list_line(index)));
}

void Tprogrammliste::Getprogparams(int Index, std::string& Exe, std::string& Dir,
                                   std::string& Param) {
    table_.Getprogparams(Index, Exe, Dir, Param, platform_.files,
                         drive_part(platform_.folders.module_path()));
}

void Tprogrammliste::set_program(int index, const std::string& program) {
    table_.set_program(index, program);
}

void Tprogrammliste::open_from_launcher() {
    place();
    if (visible()) {
        SetForegroundWindow(hwnd());
        programme->focus();
        return;
    }
    FormShow();
    set_focus_control(programme->hwnd());
    run_modal();
}

void Tprogrammliste::FormShow() {
    // The launcher hotkey is typed into the hotkey field while the window is open.
    HotKey_.SetEnabled(false);
}

void Tprogrammliste::Formhide() {
    HotKey_.SetKey(TextToShortCut(kuerzel->text(), platform_.keyboard));
    HotKey_.SetEnabled(true);
}

void Tprogrammliste::Formclose() {
    HotKey_.SetEnabled(true);
    // What the drives answer after the close would change a table the user has left.
    retargeting_.reset();
    Saveprogs();
}

bool Tprogrammliste::save_if_open() {
    if (!loaded_ || !visible()) return true;
    bool saved = false;
    ui::guarded(hwnd(), [&] {
        Saveprogs();
        saved = true;
    });
    return saved;
}

void Tprogrammliste::Saveprogs() { settings_file_.save(*this, table_); }

void Tprogrammliste::close_window() { PostMessageW(hwnd(), WM_CLOSE, 0, 0); }

void Tprogrammliste::Okbutclick() {
    HotKey_.SetEnabled(true);
    Saveprogs();
    close_window();
}

void Tprogrammliste::Progdirclick() {
    progdir->Tag = progdir->Tag == 0 ? 1 : 0;
    progdir->set_caption(progdir->Tag == 1 ? L"&Verzeichnis" : L"&Programm");
}

void Tprogrammliste::Programmedblclick() {
    const auto marked = marked_slot(nullptr);
    if (!marked) return;
    const int i = *marked;
    const std::string current = table_.Progs[i];
    if (progdir->Tag == 1) {
        const auto chosen = ui::choose_folder(hwnd(), L"Verzeichnis w\u00e4hlen");
        if (chosen) assign_folder(table_, i, to_utf8(*chosen));
    } else {
        if (!current.empty()) {
            OpenDialog.FileName = to_wide(current);
        } else {
            OpenDialog.InitialDir = to_wide(location_.ProgramFilesFolder);
        }
        if (OpenDialog.Execute(hwnd())) assign_program(table_, i, to_utf8(OpenDialog.FileName));
    }
}

void Tprogrammliste::Programmemouseup() {
    const auto i = marked_slot(nullptr);
    const std::string hint = i ? slot_hint(table_, *i) : std::string();
    programme->set_hint(to_wide(hint));
}

ui::MessagePlacement Tprogrammliste::error_place() const {
    RECT r;
    GetWindowRect(hwnd(), &r);
    POINT group{0, 0};
    MapWindowPoints(GroupBox1->hwnd(), hwnd(), &group, 1);
    return {POINT{r.left, r.top + group.y}};
}

std::optional<int> Tprogrammliste::marked_slot(const wchar_t* error) const {
    const int i = programme->index();
    if (i >= 0 && i < kSlotCount) return i;
    if (error) ui::show_error(hwnd(), error, error_place());
    return std::nullopt;
}

void Tprogrammliste::Delbutclick() {
    if (const auto i = marked_slot(kNothingMarked)) delete_slot(table_, *i);
}

void Tprogrammliste::Kuerzelkeydown(WORD Key, ShiftState Shift) {
    if (!takes_as_hotkey(Key, Shift, platform_.keyboard)) return;
    HotKey_.SetKey(ShortCut(Key, Shift));
    kuerzel->set_text(ShortCutToText(HotKey_.Key(), platform_.keyboard));
    HotKey_.SetKey(TextToShortCut(kuerzel->text(), platform_.keyboard));
}

void Tprogrammliste::Infobutclick() {
    Tinfodialog dialog(hwnd(), platform_, update_server(), shared_, background_.window);
    dialog.ShowModal();
}

void Tprogrammliste::Helpbutclick() { show_help(); }

void Tprogrammliste::Laufwerkbutclick() {
    // One move at a time: a second one planned from the table before the first is applied
    // would find the first one's slots changed and leave them.
    if (retargeting_) return;
    Retargeting plan;
    {
        Tlaufwerksform dialog(hwnd(), background_.window);
        DriveChoice choice;
        choice.confirmed = dialog.show_modal() == ui::ModalResult::Ok;
        if (choice.confirmed) choice.roots = dialog.drivelist->checked_roots();
        plan = plan_retargeting(table_, choice);
    }
    if (plan.empty()) return;
    // The window goes on answering while the drives are asked; what the user changes in the
    // meantime is kept (see apply_retargeting).
    retargeting_ = std::make_shared<int>(0);
    retarget_in_background(std::move(plan), background_.probes, background_.window,
                           [this, wanted = std::weak_ptr<int>(retargeting_)](
                               const Retargeting& done, const RetargetFindings& findings) {
                               if (wanted.expired()) return;
                               retargeted(done, findings);
                           });
}

void Tprogrammliste::retargeted(const Retargeting& plan, const RetargetFindings& findings) {
    retargeting_.reset();
    apply_retargeting(table_, plan, findings);
}

void Tprogrammliste::Button1Click() {
    // Only a link that was written counts: a missing autostart folder or a failed save
    // must not be reported as success.
    bool installed = false;
    try {
        installed = InstallAutostart(to_utf8(ui::kProgramTitle), platform_.folders.module_path(),
                                     platform_.registry, platform_.links);
    } catch (const std::exception&) {
        installed = false;
    }
    if (installed) {
        ui::show_information(hwnd(), L"Verkn\u00fcpfung im Autostartmen\u00fc angelegt!");
    } else {
        ui::show_error(hwnd(),
                       L"Das Setzen der Verkn\u00fcpfung ins Autostartmen\u00fc scheiterte!",
                       error_place());
    }
}

void Tprogrammliste::Parameterbutclick() {
    Tparameterform dialog(hwnd(), platform_.files, shared_.help);
    const auto marked = marked_slot(nullptr);
    if (!marked || trim_blanks(table_.Progs[*marked]).empty()) {
        ui::show_error(hwnd(), L"Kein Eintrag markiert oder Eintrag leer!", error_place());
        return;
    }
    const int i = *marked;
    dialog.parameter->set_text(table_.Parameter[i]);
    dialog.verzeichnis->set_path(table_.Verzeichnisse[i]);
    if (dialog.show_modal() != ui::ModalResult::Ok) return;
    table_.Parameter[i] = dialog.parameter->text();
    table_.Verzeichnisse[i] = dialog.verzeichnis->path();
}

void Tprogrammliste::Verzeichnis1Click() {
    const auto marked = marked_slot(kNothingMarked);
    if (!marked) return;
    const int i = *marked;
    std::string dir = table_.Verzeichnisse[i];
    if (!platform_.files.directory_exists(dir)) dir.clear();
    const auto chosen = ui::choose_folder(hwnd(), L"Verzeichnis w\u00e4hlen", to_wide(dir));
    if (!chosen) return;
    std::wstring value = *chosen;
    if (!ui::input_query(hwnd(), L"Parameter angeben", L"Parameter:", value)) return;
    table_.Verzeichnisse[i] = to_utf8(value);
}

LRESULT Tprogrammliste::on_message(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CLOSE:
            // A write error is shown; the window still closes, the table stays in memory.
            ui::guarded(hwnd(), [this] { Formclose(); });
            ShowWindow(hwnd(), SW_HIDE);
            Formhide();
            return 0;
        case WM_ENDSESSION:
            // After this message the session may end at any moment, and the process with it.
            if (wp) save_if_open();
            return 0;
        case WM_COMMAND:
            // Escape closes the window, which saves; it never deletes an entry.
            if (LOWORD(wp) == IDCANCEL) {
                close_window();
                return 0;
            }
            break;
        case WM_CONTEXTMENU:
            if (reinterpret_cast<HWND>(wp) == programme->hwnd()) {
                PopupMenu1.track(hwnd(), ui::context_menu_point(lp, programme->hwnd(), scale(20)));
                return 0;
            }
            break;
    }
    return Form::on_message(msg, wp, lp);
}

}  // namespace tastomat
