// Tastomat: a keyboard program launcher that lives in the notification area.
#include <windows.h>

#include <commctrl.h>

#include "app/tastomat_program_win.h"
#include "platform/win32/delay_load_win.h"
#include "platform/win32/win32_platform.h"
#include "support/settings_location.h"
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

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using namespace tastomat;
    load_delayed_libraries_from_system_folder();
    // Common controls v6 for the visual styles the manifest asks for. COM is joined when
    // the shell first needs it (com_win.h).
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    try {
        TastomatProgram program(win32_platform().platform, settings_location());
        return program.run();
    } catch (...) {
        // Nothing is running yet (or any more) to report it: say it here and end.
        ui::show_error(nullptr, ui::current_exception_text());
    }
    return 1;
}
