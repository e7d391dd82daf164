#pragma once
// The settings window: owner of the program table and its list of the 48 slots. Created
// hidden at start-up, where it restores its controls, loads the table and arms the
// launcher hotkey; opened modally from the launcher; every close writes the table back.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "components/fishotkey_win.h"
#include "platform/platform.h"
#include "platform/window_thread.h"
#include "settings_ui/drive_retargeting.h"
#include "settings_ui/settings_file_session.h"
#include "support/settings_location.h"
#include "table/program_table.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/message_box.h"
#include "ui/open_dialog.h"
#include "ui/popup_menu.h"

namespace tastomat {

// Before the settings window exists: arms the launcher hotkey with the text its hotkey
// field will be restored with, so that the hotkey answers while the window is still to be
// built. Leaves it unarmed when the settings file cannot be read; the window's creation
// then reports that and leaves it unarmed as well.
void arm_stored_launcher_hotkey(Tfishotkey& HotKey, Platform& platform,
                                const SettingsLocation& location);

// Where the window's work that may wait on a drive or the server runs, and how its answers
// come back to the window's thread.
struct SettingsBackground {
    std::shared_ptr<WindowThread> window;
    std::shared_ptr<const DriveProbes> probes;
};

class Tprogrammliste : public ui::Form {
  public:
    // Loading reads the table and the window's stored state and records the start in the
    // settings file. `later` leaves that to load(), so that a start can build the window
    // and load it in two steps with the message loop answering in between.
    enum class Load { at_once, later };
    // shared: the program's icon and help, for this window and its dialogs; they outlive all.
    Tprogrammliste(Tfishotkey& HotKey, Platform& platform, const SettingsLocation& location,
                   ui::DialogShared shared, SettingsBackground background,
                   Load when = Load::at_once);
    ~Tprogrammliste() override;
    // Once; later calls do nothing.
    void load();
    bool loaded() const { return loaded_; }

    ProgramTable& table() { return table_; }
    const std::string& Erg() const { return table_.Erg; }

    void Getprogparams(int Index, std::string& Exe, std::string& Dir, std::string& Param);
    // Sets a slot's program and rewrites its line in the list.
    void set_program(int index, const std::string& program);

    // From the launcher's menu or Ctrl+E: placed at the bottom right above the launcher
    // (while active; an ordinary window otherwise); brought to the front when already
    // open, otherwise shown modally.
    void open_from_launcher();
    // What closing the open window would write, written now, for an end of the program
    // that comes without a close ("Beenden", the session ends, the stick is ejected).
    // Nothing while the window is not open. False when the write failed (the error box has
    // said so).
    bool save_if_open();

    // Handlers.
    void FormCreate();
    void FormShow();
    void Formhide();
    void Formclose();
    void Okbutclick();
    void Programmedblclick();
    void Programmemouseup();
    void Progdirclick();
    void Delbutclick();
    void Kuerzelkeydown(WORD Key, ShiftState Shift);
    void Infobutclick();
    void Helpbutclick();
    void Parameterbutclick();
    void Verzeichnis1Click();
    void Laufwerkbutclick();
    void Button1Click();

    // The window's controls, public for the dialogs of this window and for tests.
    std::unique_ptr<ui::GroupBox> GroupBox1;
    std::unique_ptr<ui::Button> progdir, laufwerkbut, parameterbut, delbut;
    std::unique_ptr<ui::KeyEdit> kuerzel;
    std::unique_ptr<ui::Button> okbut, helpbut, infobut, Button1;
    std::unique_ptr<ui::ListBox> programme;
    ui::OpenDialog OpenDialog;
    ui::PopupMenu PopupMenu1;

    // Error boxes of this window sit at its left edge, where the button group begins.
    ui::MessagePlacement error_place() const;
    // The slot marked in the list; without one, the error box says so when error is given.
    std::optional<int> marked_slot(const wchar_t* error) const;

  private:
    LRESULT on_message(UINT msg, WPARAM wp, LPARAM lp) override;
    void create_controls();
    void create_menu();
    void fill_list();
    void set_list_line(int index);
    void Saveprogs();
    void close_window();
    void retargeted(const Retargeting& plan, const RetargetFindings& findings);

    Tfishotkey& HotKey_;
    Platform& platform_;
    const SettingsLocation& location_;
    ui::DialogShared shared_;
    ProgramTable table_;
    SettingsFileSession settings_file_;
    SettingsBackground background_;
    std::vector<std::unique_ptr<FormControl>> components_;
    bool loaded_ = false;
    // Set while "Laufwerk" waits for the drives; its answer is wanted only while this is.
    std::shared_ptr<int> retargeting_;
};

}  // namespace tastomat
