#include "platform/win32/drives_win.h"

#include <windows.h>

#include "platform/win32/file_system_win.h"
#include "platform/win32/wide.h"

namespace tastomat {
namespace {

int type_of_drive(const std::string& root) {
    // "X:" alone names the drive's current directory; the system wants its root.
    std::wstring path = to_wide(root);
    if (path.size() == 2 && path[1] == L':') path += L'\\';
    return static_cast<int>(GetDriveTypeW(path.c_str()));
}

}  // namespace

QuietThreadErrors::QuietThreadErrors() {
    quiet_ = SetThreadErrorMode(SEM_FAILCRITICALERRORS, &previous_) != FALSE;
}

QuietThreadErrors::~QuietThreadErrors() {
    if (quiet_) SetThreadErrorMode(previous_, nullptr);
}

int WinDrives::drive_type(const std::string& root) { return type_of_drive(root); }

int WinDriveProbes::drive_type(const std::string& root) const {
    const QuietThreadErrors quiet;
    return type_of_drive(root);
}

bool WinDriveProbes::file_exists(const std::string& path) const {
    const QuietThreadErrors quiet;
    return is_existing_file(to_wide(path));
}

bool WinDriveProbes::directory_exists(const std::string& path) const {
    const QuietThreadErrors quiet;
    return is_existing_directory(to_wide(path));
}

// The core compares drive types and sets the error mode by number.
static_assert(kDriveRemovable == DRIVE_REMOVABLE && kDriveFixed == DRIVE_FIXED &&
              kDriveRemote == DRIVE_REMOTE && kDriveCdRom == DRIVE_CDROM &&
              kDriveRamDisk == DRIVE_RAMDISK);
static_assert(kFailCriticalErrors == SEM_FAILCRITICALERRORS);

unsigned WinDrives::set_error_mode(unsigned mode) { return SetErrorMode(mode); }

}  // namespace tastomat
