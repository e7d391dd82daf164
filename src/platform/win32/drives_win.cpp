#include "platform/win32/drives_win.h"

#include <windows.h>

#include "platform/win32/wide.h"

namespace tastomat {

int WinDrives::drive_type(const std::string& root) {
    // "X:" alone names the drive's current directory; the system wants its root.
    std::wstring path = to_wide(root);
    if (path.size() == 2 && path[1] == L':') path += L'\\';
    return static_cast<int>(GetDriveTypeW(path.c_str()));
}

// The core compares drive types and sets the error mode by number.
static_assert(kDriveRemovable == DRIVE_REMOVABLE && kDriveFixed == DRIVE_FIXED &&
              kDriveRemote == DRIVE_REMOTE && kDriveCdRom == DRIVE_CDROM &&
              kDriveRamDisk == DRIVE_RAMDISK);
static_assert(kFailCriticalErrors == SEM_FAILCRITICALERRORS);

unsigned WinDrives::set_error_mode(unsigned mode) { return SetErrorMode(mode); }

}  // namespace tastomat
