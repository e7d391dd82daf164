// The tray icon against the real notification area of the Wine prefix.
#include <windows.h>

#include <shellapi.h>

#include <gtest/gtest.h>

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
    ui::TrayIcon tray;
    HWND owner = nullptr;
};

TEST_F(TrayIconTest, StartupHandlerCanKeepTheMainWindowHidden) {
    ui::TrayIcon other;
    other.OnStartup = [](bool& show) { show = false; };
    other.Loaded();
    EXPECT_FALSE(other.show_main_form_at_start());
    EXPECT_TRUE(tray.show_main_form_at_start());
}

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
        ui::TrayIcon tray;
        tray.Icon = LoadIconW(nullptr, IDI_APPLICATION);
        tray.Loaded();
        owner = FindWindowW(L"TastomatTrayIcon", nullptr);
        ASSERT_TRUE(tray.added());
    }
    EXPECT_FALSE(icon_present(owner));
}

}  // namespace
}  // namespace tastomat
