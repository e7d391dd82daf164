// Ejecting the stick: Windows asks the launcher window about the handle it registered. Wine
// never sends that request, so the test hands the window the notifications itself, with a
// stand-in for the registration whose handle the test knows.
#include <gtest/gtest.h>
#include <windows.h>

#include <dbt.h>

#include <filesystem>
#include <optional>
#include <vector>

#include "admin/admindataform_win.h"
#include "app/main_form_win.h"
#include "app/volume_watch_win.h"
#include "platform/win32/drives_win.h"
#include "platform/win32/win32_platform.h"
#include "res/resource_ids.h"
#include "settings_ui/programmliste_win.h"
#include "support/settings_location.h"
#include "support/temp_folder_win.h"
#include "ui/task_window.h"

namespace tastomat {
namespace {

const HDEVNOTIFY kOwnRegistration = reinterpret_cast<HDEVNOTIFY>(0x5EED);
const HDEVNOTIFY kOtherRegistration = reinterpret_cast<HDEVNOTIFY>(0x0DD);
HANDLE g_registered_handle = nullptr;
std::vector<HDEVNOTIFY> g_unregistered;

HDEVNOTIFY WINAPI fake_register(HANDLE, LPVOID filter, DWORD flags) {
    const auto* handle_filter = static_cast<const DEV_BROADCAST_HANDLE*>(filter);
    if (flags != DEVICE_NOTIFY_WINDOW_HANDLE || handle_filter->dbch_devicetype != DBT_DEVTYP_HANDLE)
        return nullptr;
    g_registered_handle = handle_filter->dbch_handle;
    return kOwnRegistration;
}

BOOL WINAPI fake_unregister(HDEVNOTIFY notification) {
    g_unregistered.push_back(notification);
    return TRUE;
}

bool fake_ejectable(const std::wstring&) { return true; }
bool fake_built_in(const std::wstring&) { return false; }

// The settings and administrator windows as the program builds them for the launcher.
class Windows : public LauncherWindows {
  public:
    Windows(Platform& platform, const SettingsLocation& location, const ui::ProgramIcon& icon)
        : platform_(platform), location_(location), shared_{icon, help_} {}
    Tmain* main = nullptr;
    std::optional<Tprogrammliste> settings;
    std::optional<TAdmindataform1> admin;

    std::optional<Built> on_need() override {
        if (!settings)
            settings.emplace(
                *main->HotKey, platform_, location_, shared_,
                SettingsBackground{tasks_.poster(), std::make_shared<WinDriveProbes>()});
        if (!admin) admin.emplace(*main->Adminhotkey, platform_.keyboard, shared_, [] {});
        return Built{*settings, *admin};
    }
    Tprogrammliste* loaded_settings() override {
        return settings && settings->loaded() ? &*settings : nullptr;
    }

  private:
    Platform& platform_;
    const SettingsLocation& location_;
    ui::ProgramHelp help_;
    ui::DialogShared shared_;
    ui::TaskWindow tasks_;
};

// Handles what the window posted to itself; true once the quit request came, within the
// time given.
bool pump_until_quit(DWORD milliseconds) {
    const ULONGLONG until = GetTickCount64() + milliseconds;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) return true;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        const ULONGLONG now = GetTickCount64();
        if (now >= until) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(until - now), QS_ALLINPUT);
    }
}

DEV_BROADCAST_HANDLE handle_notification(HDEVNOTIFY registration, HANDLE handle) {
    DEV_BROADCAST_HANDLE notification{};
    notification.dbch_size = sizeof notification;
    notification.dbch_devicetype = DBT_DEVTYP_HANDLE;
    notification.dbch_handle = handle;
    notification.dbch_hdevnotify = registration;
    return notification;
}

TEST(StickEject, OnlyTheRequestForItsOwnVolumeSavesTheOpenSettingsAndEndsTheProgram) {
    Win32Platform& os = win32_platform();
    const ui::ProgramIcon icon(IDI_TASTOMAT);
    const test::TempFolder temp(L"tastomat-eject-");
    const std::filesystem::path file = temp.path() / "Tastomat.ini";
    const SettingsLocation location{temp.path().string() + "\\", file.string(), ""};
    Windows windows(os.platform, location, icon);
    Tmain main(os.platform, icon, windows);
    windows.main = &main;
    const HWND launcher = main.hwnd();
    // The settings window, loaded and open as the tray menu leaves it.
    Tprogrammliste& settings = windows.on_need()->settings;
    ShowWindow(settings.hwnd(), SW_SHOWNA);
    main.Volumewatch = std::make_unique<VolumeWatch>(
        launcher, (temp.path() / "Tastomat.exe").wstring(),
        DeviceNotifications{fake_register, fake_unregister, fake_ejectable});
    ASSERT_TRUE(main.Volumewatch->watching());
    ASSERT_NE(g_registered_handle, nullptr);
    g_unregistered.clear();
    // Whatever is saved from here on shows as the file coming back.
    ASSERT_TRUE(std::filesystem::remove(file));

    DEV_BROADCAST_HANDLE own = handle_notification(kOwnRegistration, g_registered_handle);
    DEV_BROADCAST_HANDLE other = handle_notification(kOtherRegistration, GetCurrentProcess());
    DEV_BROADCAST_VOLUME volume{};
    volume.dbcv_size = sizeof volume;
    volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
    volume.dbcv_unitmask = 1u << ('E' - 'A');
    const struct {
        const char* what;
        WPARAM event;
        const void* data;
    } ignored[] = {
        {"removal asked for another handle", DBT_DEVICEQUERYREMOVE, &other},
        {"another handle's volume gone", DBT_DEVICEREMOVECOMPLETE, &other},
        {"its own removal called off", DBT_DEVICEQUERYREMOVEFAILED, &own},
        {"a stick put in", DBT_DEVICEARRIVAL, &volume},
        {"the device list changed", DBT_DEVNODES_CHANGED, nullptr},
    };
    for (const auto& c : ignored) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(
            SendMessageW(launcher, WM_DEVICECHANGE, c.event, reinterpret_cast<LPARAM>(c.data)),
            TRUE);
        EXPECT_FALSE(pump_until_quit(0));
        EXPECT_TRUE(IsWindow(launcher));
        EXPECT_FALSE(std::filesystem::exists(file));
        EXPECT_TRUE(main.Volumewatch->watching());
        EXPECT_TRUE(g_unregistered.empty());
    }

    // Granted; by then the handle is closed and the registration gone.
    EXPECT_EQ(SendMessageW(launcher, WM_DEVICECHANGE, DBT_DEVICEQUERYREMOVE,
                           reinterpret_cast<LPARAM>(&own)),
              TRUE);
    EXPECT_EQ(g_unregistered, std::vector<HDEVNOTIFY>{kOwnRegistration});
    EXPECT_FALSE(main.Volumewatch->watching());
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_TRUE(pump_until_quit(15000));
    EXPECT_FALSE(IsWindow(launcher));
}

// A watch costs a registration (under Wine a thread of its own and 1.4 MB): only for a
// volume that can leave, and then for any that can.
TEST(StickEject, OnlyAVolumeThatCanBeEjectedIsWatched) {
    const std::optional<STORAGE_BUS_TYPE> unknown;
    const struct {
        UINT drive_type;
        std::optional<STORAGE_BUS_TYPE> bus;
        bool watched;
    } cases[] = {
        {DRIVE_REMOVABLE, BusTypeUsb, true}, {DRIVE_REMOVABLE, unknown, true},
        {DRIVE_FIXED, BusTypeUsb, true},     {DRIVE_FIXED, BusType1394, true},
        {DRIVE_FIXED, BusTypeSd, true},      {DRIVE_FIXED, BusTypeMmc, true},
        {DRIVE_FIXED, unknown, true},        {DRIVE_FIXED, BusTypeSata, false},
        {DRIVE_FIXED, BusTypeNvme, false},   {DRIVE_FIXED, BusTypeScsi, false},
        {DRIVE_FIXED, BusTypeRAID, false},   {DRIVE_REMOTE, unknown, false},
        {DRIVE_CDROM, BusTypeUsb, false},    {DRIVE_RAMDISK, unknown, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.drive_type << ", bus "
                                        << (c.bus ? static_cast<int>(*c.bus) : -1));
        EXPECT_EQ(ejectable(c.drive_type, c.bus), c.watched);
    }

    // A built-in volume: no handle opened, nothing registered.
    const test::TempFolder temp(L"tastomat-built-in-");
    g_registered_handle = nullptr;
    const VolumeWatch watch(GetDesktopWindow(), (temp.path() / "Tastomat.exe").wstring(),
                            DeviceNotifications{fake_register, fake_unregister, fake_built_in});
    EXPECT_FALSE(watch.watching());
    EXPECT_EQ(g_registered_handle, nullptr);
}

}  // namespace
}  // namespace tastomat
