// Tastomat: a keyboard program launcher that lives in the notification area.
#include <windows.h>

#include <commctrl.h>

#include "app/tastomat_program_win.h"
#include "platform/win32/delay_load_win.h"
#include "platform/win32/dll_search_win.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/working_folder_win.h"
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
    // Before any library is loaded by name: none may come from the stick.
    search_libraries_in_system_folder_only();
    load_delayed_libraries_from_system_folder();
    // Common controls v6 for the visual styles the manifest asks for. COM is joined when
    // the shell first needs it (com_win.h).
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    try {
        const SettingsLocation& location = settings_location();
        // The start folder is let go once the settings location no longer needs it.
        leave_start_folder();
        TastomatProgram program(win32_platform().platform, location);
        return program.run();
    } catch (...) {
        // Nothing is running yet (or any more) to report it: say it here and end.
        ui::show_error(nullptr, ui::current_exception_text());
    }
    return 1;
}
