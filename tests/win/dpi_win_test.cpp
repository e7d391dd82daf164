#include "ui/dpi.h"

#include <gtest/gtest.h>

#include <utility>

#include "platform/win32/scoped.h"
#include "ui/form.h"

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

}  // namespace
}  // namespace tastomat::ui
