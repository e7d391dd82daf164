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

unsigned WinDrives::set_error_mode(unsigned mode) { return SetErrorMode(mode); }

}  // namespace tastomat
