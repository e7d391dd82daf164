#include "platform/win32/drives_win.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace tastomat {
namespace {

TEST(WinDrivesTest, SystemDriveIsFixedAndAnUnusedLetterHasNoRoot) {
    WinDrives drives;
    wchar_t windows_dir[MAX_PATH] = {};
    ASSERT_GT(GetWindowsDirectoryW(windows_dir, MAX_PATH), 0u);
    const std::string system_drive{static_cast<char>(windows_dir[0]), ':'};
    EXPECT_EQ(drives.drive_type(system_drive), kDriveFixed);

    const DWORD used = GetLogicalDrives();
    for (int letter = 25; letter >= 0; --letter) {
        if (used & (1u << letter)) continue;
        EXPECT_EQ(drives.drive_type(std::string{static_cast<char>('A' + letter), ':'}),
                  DRIVE_NO_ROOT_DIR);
        break;
    }
}

TEST(WinDrivesTest, ErrorModeGivesThePreviousModeBack) {
    WinDrives drives;
    const unsigned original = drives.set_error_mode(kFailCriticalErrors);
    EXPECT_EQ(drives.set_error_mode(original) & kFailCriticalErrors, kFailCriticalErrors);
}

}  // namespace
}  // namespace tastomat
