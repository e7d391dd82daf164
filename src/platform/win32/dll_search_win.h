#pragma once
// Where the process looks for a library named without a path. The program runs from a
// stick anyone may write to, and it holds the administrator password typed into it: a
// system library that loads another one by its bare name must not find a planted copy
// beside Tastomat.exe or in the current folder.
#include <windows.h>

namespace tastomat {

// SetDefaultDllDirectories (Windows 8 and later, Windows 7 with KB2533623) and
// SetDllDirectoryW; nullptr where the system lacks one.
struct DllSearchFunctions {
    BOOL(WINAPI* set_default_dll_directories)(DWORD flags) = nullptr;
    BOOL(WINAPI* set_dll_directory)(LPCWSTR path) = nullptr;
};

// The system's own, looked up at run time: importing the first would keep the program from
// starting on a Windows 7 without that update.
DllSearchFunctions system_dll_search_functions();

// The system folder only, where the system can say so; elsewhere at least the current
// folder is taken out of the search. True when one of the two took effect.
bool search_libraries_in_system_folder_only(
    const DllSearchFunctions& functions = system_dll_search_functions());

}  // namespace tastomat
