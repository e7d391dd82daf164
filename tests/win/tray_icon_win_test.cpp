// The tray icon against the real notification area of the Wine prefix.
#include <windows.h>

#include <shellapi.h>

#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "ui/tray_icon.h"

namespace tastomat {
namespace {

// Whether the notification area still knows the icon: modifying a missing one fails.
bool icon_present(HWND owner) {
    NOTIFYICONDATAW nid{};
    nid.cbSize = sizeof nid;
    nid.hWnd = owner;
    nid.uID = 1;
    nid.uFlags = NIF_TIP;
    lstrcpyW(nid.szTip, L"probe");
    return Shell_NotifyIconW(NIM_MODIFY, &nid) != FALSE;
}

void forget_icon(HWND owner) {
    NOTIFYICONDATAW nid{};
    nid.cbSize = sizeof nid;
    nid.hWnd = owner;
    nid.uID = 1;
    Shell_NotifyIconW(NIM_DELETE, &nid);
}

class TrayIconTest : public ::testing::Test {
  protected:
    void SetUp() override {
        tray.Hint = L"TastomatPorable";
        tray.Icon = LoadIconW(nullptr, IDI_APPLICATION);
        tray.Loaded();
        owner = FindWindowW(L"TastomatTrayIcon", nullptr);
        ASSERT_NE(owner, nullptr);
    }
    ui::TrayIcon tray{nullptr};
    HWND owner = nullptr;
};

TEST_F(TrayIconTest, IconIsAddedAndComesBackAfterTheTaskbarRestarts) {
    ASSERT_TRUE(tray.added());
    EXPECT_TRUE(icon_present(owner));

    forget_icon(owner);  // what a restarted Explorer has done
    ASSERT_FALSE(icon_present(owner));
    SendMessageW(owner, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(icon_present(owner));
}

TEST(TrayIcon, DestroyingItRemovesTheIcon) {
    HWND owner = nullptr;
    {
        ui::TrayIcon tray(nullptr);
        tray.Icon = LoadIconW(nullptr, IDI_APPLICATION);
        tray.Loaded();
        owner = FindWindowW(L"TastomatTrayIcon", nullptr);
        ASSERT_TRUE(tray.added());
    }
    EXPECT_FALSE(icon_present(owner));
}

// A notification area that refuses the first adds, as a shell still starting up does.
int g_refusals = 0;
int g_adds = 0;
BOOL WINAPI refusing_notify(DWORD message, PNOTIFYICONDATAW data) {
    if (message == NIM_ADD) {
        ++g_adds;
        if (g_refusals > 0) {
            --g_refusals;
            return FALSE;
        }
    }
    return Shell_NotifyIconW(message, data);
}

TEST(TrayIcon, FailedAddIsTriedAgainOnceASecondForAMinute) {
    struct Case {
        int refusals;
        bool added;
        int adds;
    } cases[] = {{0, true, 1},
                 {1, true, 2},
                 {5, true, 6},
                 {ui::TrayIcon::kAddRetries, true, ui::TrayIcon::kAddRetries + 1},
                 {ui::TrayIcon::kAddRetries + 1, false, ui::TrayIcon::kAddRetries + 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.refusals);
        g_refusals = c.refusals;
        g_adds = 0;
        ui::TrayIcon tray(nullptr);
        tray.Notify = refusing_notify;
        tray.Icon = LoadIconW(nullptr, IDI_APPLICATION);
        tray.Loaded();
        HWND owner = FindWindowW(L"TastomatTrayIcon", nullptr);
        ASSERT_NE(owner, nullptr);
        // The timer's ticks, without waiting a minute for them; more than it asks for.
        for (int tick = 0; tick < ui::TrayIcon::kAddRetries + 5; ++tick)
            SendMessageW(owner, WM_TIMER, 1, 0);
        EXPECT_EQ(tray.added(), c.added);
        EXPECT_EQ(g_adds, c.adds);
        EXPECT_EQ(icon_present(owner), c.added);
    }
}

// The application the user was in before the hotkey: a window on a thread of its own.
class OtherApplication {
  public:
    OtherApplication() {
        std::promise<HWND> made;
        thread_ = std::thread([this, &made] {
            thread_id_ = GetCurrentThreadId();
            HWND window = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                          0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
            made.set_value(window);
            MSG msg;
            while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
            DestroyWindow(window);
        });
        window = made.get_future().get();
    }
    OtherApplication(const OtherApplication&) = delete;
    OtherApplication& operator=(const OtherApplication&) = delete;
    ~OtherApplication() {
        PostThreadMessageW(thread_id_, WM_QUIT, 0, 0);
        thread_.join();
    }
    HWND window = nullptr;

  private:
    DWORD thread_id_ = 0;  // set before window is
    std::thread thread_;
};

TEST(TrayIcon, TheForegroundGoesBackExceptAfterAStart) {
    OtherApplication other;
    ASSERT_NE(other.window, nullptr);
    HWND badge = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"badge", WS_POPUP, 0, 0, 100, 40,
                                 nullptr, nullptr, nullptr, nullptr);
    ui::TrayIcon tray(badge);
    const struct {
        const char* what;
        bool after_start;
    } cases[] = {{"Escape", false}, {"a slot's start", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetForegroundWindow(other.window);
        tray.ShowMainForm();
        ASSERT_EQ(GetForegroundWindow(), badge);
        c.after_start ? tray.hide_after_start() : tray.HideMainForm();
        EXPECT_FALSE(IsWindowVisible(badge));
        // After a start the foreground is left for the started program to take.
        EXPECT_EQ(GetForegroundWindow() == other.window, !c.after_start);
    }
    DestroyWindow(badge);
}

}  // namespace
}  // namespace tastomat
