#include "platform/win32/working_folder_win.h"

#include <windows.h>

#include <cwctype>

#include "platform/win32/system_library.h"

namespace tastomat {

std::wstring current_folder() {
    std::wstring folder(MAX_PATH, L'\0');
    DWORD n = GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data());
    if (n >= folder.size()) {  // too small: n is the size needed, with the terminator
        folder.resize(n);
        n = GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data());
    }
    folder.resize(n < folder.size() ? n : 0);
    return folder;
}

bool leave_start_folder() {
    const std::wstring start = current_folder();
    // A share (\\server\share) has no drive whose current directory could be kept.
    if (start.size() >= 2 && start[1] == L':') {
        const wchar_t drive_variable[] = {L'=', static_cast<wchar_t>(std::towupper(start[0])), L':',
                                          L'\0'};
        SetEnvironmentVariableW(drive_variable, start.c_str());
    }
    const std::wstring system = system_folder();
    return !system.empty() && SetCurrentDirectoryW(system.c_str());
}

}  // namespace tastomat
