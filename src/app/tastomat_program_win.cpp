#include "app/tastomat_program_win.h"

#include "platform/win32/drives_win.h"
#include "res/resource_ids.h"
#include "ui/application.h"

namespace tastomat {

TastomatProgram::TastomatProgram(Platform& platform, const SettingsLocation& location)
    : platform_(platform),
      location_(location),
      icon_(IDI_TASTOMAT),
      main_(platform, icon_, *this) {}

int TastomatProgram::run() {
    // A later copy has handed its parameters to the running one and ends here, before the
    // settings window would read and write the settings file.
    if (main_.handed_over()) return 0;
    // The hotkey just before the icon: adding the icon waits for the shell, which may show
    // it before it answers, and a hotkey pressed as soon as the icon shows is then already
    // armed.
    arm_stored_launcher_hotkey(*main_.HotKey, platform_, location_);
    main_.show_tray_icon();
    main_.warn_if_not_registered(*main_.HotKey);
    ui::Application& app = ui::Application::instance();
    // Not while the badge is up: a window built then keeps the badge from getting the
    // keyboard under Wine the next time it comes up.
    quiet_.emplace([this] { return main_.visible(); });
    app.when_idle([this] { main_.watch_volume(); });
    app.when_idle([this] { make_settings(); });
    app.when_idle([this] { load_settings(); });
    app.when_idle([this] {
        make_admin();
        quiet_->finish();
    });
    const int result = app.run([this] { return quiet_->allows(); });
    help_.close();
    return result;
}

std::optional<LauncherWindows::Built> TastomatProgram::on_need() {
    load_settings();
    make_admin();
    return Built{*settings_, *admin_};
}

Tprogrammliste* TastomatProgram::loaded_settings() {
    return settings_ && settings_->loaded() ? &*settings_ : nullptr;
}

void TastomatProgram::make_settings() {
    if (!settings_)
        settings_.emplace(*main_.HotKey, platform_, location_, ui::DialogShared{icon_, help_},
                          SettingsBackground{tasks_.poster(), std::make_shared<WinDriveProbes>()},
                          Tprogrammliste::Load::later);
}

void TastomatProgram::load_settings() {
    make_settings();
    settings_->load();
}

void TastomatProgram::make_admin() {
    if (admin_) return;
    admin_.emplace(*main_.Adminhotkey, platform_.keyboard, ui::DialogShared{icon_, help_},
                   [this] { main_.warn_if_not_registered(*main_.Adminhotkey); });
}

}  // namespace tastomat
