#pragma once
// The whole program in one place: its icon, the launcher, the settings window and the
// administrator window, held in the order each depends on the ones before it, so that they
// go in the reverse order by themselves at the end of the run.
#include <optional>

#include "admin/admindataform_win.h"
#include "app/main_form_win.h"
#include "app/quiet_start_win.h"
#include "platform/platform.h"
#include "settings_ui/programmliste_win.h"
#include "support/settings_location.h"
#include "ui/program_icon.h"
#include "ui/task_window.h"

namespace tastomat {

class TastomatProgram final : private LauncherWindows {
  public:
    // Builds the launcher, and with it the tray icon and the guard against a second copy.
    TastomatProgram(Platform& platform, const SettingsLocation& location);
    TastomatProgram(const TastomatProgram&) = delete;
    TastomatProgram& operator=(const TastomatProgram&) = delete;
    ~TastomatProgram() = default;

    // Arms the launcher hotkey, adds the tray icon and runs the message loop; its exit
    // code. The eject watch, the settings and the administrator windows are built in the
    // loop, a moment after the start and while the badge is hidden, so that the hotkey
    // answers as soon as the tray icon is there. Nothing is saved at the end: the table
    // reaches the file when the settings window closes, or when "Beenden" finds it open.
    int run();

  private:
    std::optional<Built> on_need() override;
    Tprogrammliste* loaded_settings() override;

    // The start-up steps, in this order. The settings window is built in two, so that a
    // hotkey pressed meanwhile waits for one of them only: its controls, then its loading,
    // which reads the table and records the start in the settings file.
    void make_settings();
    void load_settings();
    void make_admin();

    Platform& platform_;
    const SettingsLocation& location_;
    const ui::ProgramIcon icon_;
    ui::ProgramHelp help_;
    // Where the windows' workers hand their answers back; it goes after the windows.
    ui::TaskWindow tasks_;
    Tmain main_;
    std::optional<Tprogrammliste> settings_;
    std::optional<TAdmindataform1> admin_;
    // When the steps after the start may run; made once the hotkey is armed.
    std::optional<QuietStart> quiet_;
};

}  // namespace tastomat
