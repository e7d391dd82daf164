#include "ui/dpi.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "admin/admindataform_win.h"
#include "components/fishotkey_win.h"
#include "info/infodialog_win.h"
#include "info/update_server.h"
#include "platform/win32/drives_win.h"
#include "platform/win32/scoped.h"
#include "platform/win32/win32_platform.h"
#include "res/resource_ids.h"
#include "settings_ui/laufwerksform_win.h"
#include "settings_ui/parameterform_win.h"
#include "settings_ui/programmliste_win.h"
#include "support/temp_folder_win.h"
#include "ui/form.h"
#include "ui/task_window.h"

namespace tastomat::ui {
namespace {

constexpr UINT kFakeWindowDpi = 168;
constexpr int kFakeFrame = 10;  // on every side: no system draws a frame like it

UINT WINAPI fake_dpi_for_window(HWND) { return kFakeWindowDpi; }
BOOL WINAPI fake_adjust_for_dpi(RECT* rect, DWORD, BOOL, DWORD, UINT) {
    InflateRect(rect, kFakeFrame, kFakeFrame);
    return TRUE;
}
BOOL WINAPI failing_adjust_for_dpi(RECT*, DWORD, BOOL, DWORD, UINT) { return FALSE; }

// Runs as on a system with other DPI functions, and gives the real ones back at the end.
class ReplacedDpiFunctions {
  public:
    explicit ReplacedDpiFunctions(DpiFunctions replacement)
        : saved_(std::exchange(dpi_functions(), replacement)) {}
    ReplacedDpiFunctions(const ReplacedDpiFunctions&) = delete;
    ReplacedDpiFunctions& operator=(const ReplacedDpiFunctions&) = delete;
    ~ReplacedDpiFunctions() { dpi_functions() = saved_; }

  private:
    DpiFunctions saved_;
};

constexpr int kClientWidth = 300, kClientHeight = 200;  // at the 120-dpi design

class DialogForm : public Form {
  public:
    DialogForm() : Form("DpiTestForm", L"MS Sans Serif") {
        create_dialog({.class_name = L"TastomatTestDpiForm", .caption = L"Dpi"});
        set_client_size(kClientWidth, kClientHeight);
    }
    // What Windows sends when the window lands on a screen of another density.
    void move_to_screen_of(UINT dpi) {
        RECT suggested{};
        GetWindowRect(hwnd(), &suggested);
        SendMessageW(hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
    }
    SIZE window_size() const {
        RECT r{};
        GetWindowRect(hwnd(), &r);
        return {r.right - r.left, r.bottom - r.top};
    }
};

UINT screen_dpi() {
    const WindowDC screen(nullptr);
    return static_cast<UINT>(GetDeviceCaps(screen.get(), LOGPIXELSY));
}

enum class Frame { System, Fake };

TEST(DpiFallback, WithoutTheNewerFunctionsDpiAndFrameComeFromTheOlderWays) {
    struct Case {
        const char* name;
        DpiFunctions functions;
        UINT announced;     // by WM_DPICHANGED; 0 for no move
        UINT expected_dpi;  // 0: the screen's
        Frame frame;
    };
    const Case cases[] = {
        {"newer functions missing", {}, 0, 0, Frame::System},
        {"newer functions missing, moved to a 144-dpi screen", {}, 144, 144, Frame::System},
        {"newer functions missing, moved to a 192-dpi screen", {}, 192, 192, Frame::System},
        {"the frame for a dpi fails", {nullptr, &failing_adjust_for_dpi}, 144, 144, Frame::System},
        {"newer functions present",
         {&fake_dpi_for_window, &fake_adjust_for_dpi},
         144,
         kFakeWindowDpi,
         Frame::Fake},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ReplacedDpiFunctions replaced(c.functions);
        DialogForm form;
        if (c.announced) form.move_to_screen_of(c.announced);

        const UINT dpi = c.expected_dpi ? c.expected_dpi : screen_dpi();
        EXPECT_EQ(form.dpi(), dpi);
        RECT expected{0, 0, MulDiv(kClientWidth, static_cast<int>(dpi), kDesignDpi),
                      MulDiv(kClientHeight, static_cast<int>(dpi), kDesignDpi)};
        if (c.frame == Frame::Fake) {
            InflateRect(&expected, kFakeFrame, kFakeFrame);
        } else {
            AdjustWindowRectEx(&expected,
                               static_cast<DWORD>(GetWindowLongW(form.hwnd(), GWL_STYLE)), FALSE,
                               static_cast<DWORD>(GetWindowLongW(form.hwnd(), GWL_EXSTYLE)));
        }
        const SIZE size = form.window_size();
        EXPECT_EQ(size.cx, expected.right - expected.left);
        EXPECT_EQ(size.cy, expected.bottom - expected.top);
    }
}

// The pictures of a window's buttons, as the buttons hold them now.
std::vector<HICON> button_pictures(HWND window) {
    std::vector<HICON> pictures;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM lp) {
            wchar_t name[16] = {};
            GetClassNameW(child, name, 16);
            const auto icon =
                reinterpret_cast<HICON>(SendMessageW(child, BM_GETIMAGE, IMAGE_ICON, 0));
            if (lstrcmpiW(name, L"Button") == 0 && icon)
                reinterpret_cast<std::vector<HICON>*>(lp)->push_back(icon);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&pictures));
    return pictures;
}

// The width of an icon in pixels; 0 for a handle that is no icon (any more).
int icon_width(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return 0;
    BITMAP bitmap{};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

TEST(DpiOfDialogs, EveryDialogDrawsItsButtonPicturesAnewOnAScreenOfAnotherDpi) {
    // Without the newer functions, the dpi a move announces is the window's.
    const ReplacedDpiFunctions replaced({});
    Win32Platform& os = tastomat::win32_platform();
    const ProgramIcon icon(IDI_TASTOMAT);
    ProgramHelp help;
    const DialogShared shared{icon, help};
    TaskWindow tasks;
    const test::TempFolder temp(L"tastomat-dpi-");
    const SettingsLocation location{temp.path().string() + "\\",
                                    (temp.path() / "Tastomat.ini").string(), ""};
    Tfishotkey hotkey;
    Tprogrammliste settings(hotkey, os.platform, location, shared,
                            {tasks.poster(), std::make_shared<WinDriveProbes>()},
                            Tprogrammliste::Load::later);

    struct Case {
        const char* name;
        std::function<std::unique_ptr<Form>()> make;
        size_t pictures;
    };
    const Case cases[] = {
        {"settings", nullptr, 7},
        {"parameter",
         [&] { return std::make_unique<Tparameterform>(settings.hwnd(), os.platform.files, help); },
         5},
        {"drive", [&] { return std::make_unique<Tlaufwerksform>(settings.hwnd(), tasks.poster()); },
         3},
        {"administrator",
         [&] {
             return std::make_unique<TAdmindataform1>(hotkey, os.platform.keyboard, shared,
                                                      std::function<void()>());
         },
         2},
        {"info",
         [&] {
             return std::make_unique<Tinfodialog>(settings.hwnd(), os.platform, update_server(),
                                                  shared, tasks.poster());
         },
         4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::unique_ptr<Form> made = c.make ? c.make() : nullptr;
        Form& dialog = made ? *made : settings;
        for (const UINT dpi : {screen_dpi(), 192u, 144u}) {
            if (dpi != screen_dpi()) {
                RECT suggested{};
                GetWindowRect(dialog.hwnd(), &suggested);
                SendMessageW(dialog.hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                             reinterpret_cast<LPARAM>(&suggested));
            }
            const std::vector<HICON> pictures = button_pictures(dialog.hwnd());
            ASSERT_EQ(pictures.size(), c.pictures) << dpi << " dpi";
            for (HICON picture : pictures)
                EXPECT_EQ(icon_width(picture),
                          MulDiv(kButtonGlyphSize, static_cast<int>(dpi), kDesignDpi))
                    << dpi << " dpi";
        }
    }
}

}  // namespace
}  // namespace tastomat::ui
