// Tastomat: a keyboard program launcher that lives in the notification area.
#include <windows.h>

#include <commctrl.h>

#include <memory>

#include "admin/admindataform_win.h"
#include "app/main_form_win.h"
#include "platform/win32/delay_load_win.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"
#include "settings_ui/programmliste_win.h"
#include "support/settings_location.h"
#include "ui/application.h"
#include "ui/message_box.h"
#include "ui/window.h"

namespace {

// Worked out once, before any window exists; every reader of the settings file takes the
// path from here.
const tastomat::SettingsLocation& settings_location() {
    static const tastomat::SettingsLocation location = [] {
        auto& os = tastomat::win32_platform();
        return tastomat::compute_settings_location(os.folders, os.files);
    }();
    return location;
}

// Builds the launcher, arms its hotkey, runs the message loop and takes the windows down
// again in reverse order. The settings and administrator windows are built once the loop
// runs, so that the hotkey answers as soon as the tray icon is there.
int run_tastomat(const tastomat::SettingsLocation& location) {
    using namespace tastomat;
    ui::Application& app = ui::Application::instance();
    app.Title = L"Tastomat";
    app.HelpFile = L"TASTOMAT.chm";

    Platform& os = win32_platform().platform;
    auto main = std::make_unique<Tmain>(os);
    std::unique_ptr<Tprogrammliste> programmliste;
    bool settings_loaded = false;
    std::unique_ptr<TAdmindataform1> admin;
    // Each step runs when the loop first runs empty, or at once when the launcher needs the
    // windows. The settings window is built in two steps, so that a hotkey pressed meanwhile
    // waits for one of them only: its controls, then its loading, which reads the table and
    // records the start in the settings file.
    auto make_settings = [&] {
        if (!programmliste)
            programmliste = std::make_unique<Tprogrammliste>(*main->HotKey, os, location,
                                                             Tprogrammliste::Load::later);
    };
    auto loaded_settings = [&] { return settings_loaded ? programmliste.get() : nullptr; };
    auto build_settings = [&] {
        make_settings();
        if (settings_loaded) return;
        settings_loaded = true;
        programmliste->load();
        main->attach(loaded_settings(), admin.get());
    };
    auto build_admin = [&] {
        if (admin) return;
        admin = std::make_unique<TAdmindataform1>(*main->Adminhotkey, os.keyboard);
        admin->on_hotkey_set = [launcher = main.get()] {
            launcher->warn_if_not_registered(*launcher->Adminhotkey);
        };
        main->attach(loaded_settings(), admin.get());
    };
    // A later copy has handed its parameters to the running one and ends here, before the
    // settings window would read and write the settings file.
    if (!app.terminating()) {
        arm_stored_launcher_hotkey(*main->HotKey, os, location);
        main->warn_if_not_registered(*main->HotKey);
        main->build_windows = [&] {
            build_settings();
            build_admin();
        };
        // Not while the badge is up: a window built then keeps the badge from getting the
        // keyboard under Wine the next time it comes up.
        app.idle_steps_allowed = [launcher = main.get()] { return !launcher->visible(); };
        app.when_idle(make_settings);
        app.when_idle(build_settings);
        app.when_idle(build_admin);
    }

    const int result = app.run();
    app.close_help();

    // Nothing is saved at the end: the table reaches the file when the settings window
    // closes. Destroying the launcher unregisters both hotkeys and removes the tray icon.
    main->build_windows = nullptr;
    app.idle_steps_allowed = nullptr;
    main->attach(nullptr, nullptr);
    admin.reset();
    programmliste.reset();
    main.reset();
    return result;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using namespace tastomat;
    load_delayed_libraries_from_system_folder();
    // Common controls v6 for the visual styles the manifest asks for. COM is joined when
    // the shell first needs it (com_win.h).
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    try {
        return run_tastomat(settings_location());
    } catch (...) {
        // Nothing is running yet (or any more) to report it: say it here and end.
        ui::show_error(nullptr, ui::current_exception_text());
    }
    return 1;
}
