#pragma once
// The settings window: owner of the program table and its list of the 48 slots. Created
// hidden at start-up, where it loads the table and arms the launcher hotkey; opened
// modally from the launcher; every close writes the table back.
#include <string>

#include "components/fishotkey_win.h"
#include "platform/platform.h"
#include "support/settings_location.h"
#include "table/program_table.h"
#include "ui/window.h"

namespace tastomat {

class Tprogrammliste : public ui::Window {
public:
    Tprogrammliste(Tfishotkey& HotKey, Platform& platform, const SettingsLocation& location);
    ~Tprogrammliste() override;

    ProgramTable& table() { return table_; }
    const std::string& Erg() const { return table_.Erg; }

    void Getprogparams(int Index, std::string& Exe, std::string& Dir, std::string& Param);
    // Sets a slot's program and rewrites its line in the list.
    void set_program(int index, const std::string& program);

    // From the launcher's menu or Ctrl+E: placed at the bottom right above the launcher;
    // brought to the front when already open, otherwise shown modally.
    void open_from_launcher(HWND launcher);

    // Handlers.
    void FormCreate();
    void FormShow();
    void Formhide();
    void Formclose();

    // The launcher hotkey's text as the hotkey field holds it.
    std::string kuerzel_text = "Alt+F12";

private:
    LRESULT on_message(UINT msg, WPARAM wp, LPARAM lp) override;
    void create_controls();
    void layout();
    void fill_list();
    void set_list_line(int index);
    void Saveprogs();

    Tfishotkey& HotKey_;
    Platform& platform_;
    const SettingsLocation& location_;
    ProgramTable table_;
    HWND programme_ = nullptr;
};

}  // namespace tastomat
