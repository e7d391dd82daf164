#include "platform/win32/dll_search_win.h"

namespace tastomat {

DllSearchFunctions system_dll_search_functions() {
    DllSearchFunctions functions;
    // kernel32 is in every process before its first line runs: no library search here.
    HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
    if (!kernel32) return functions;
    functions.set_default_dll_directories =
        reinterpret_cast<decltype(functions.set_default_dll_directories)>(
            reinterpret_cast<void*>(GetProcAddress(kernel32, "SetDefaultDllDirectories")));
    functions.set_dll_directory = reinterpret_cast<decltype(functions.set_dll_directory)>(
        reinterpret_cast<void*>(GetProcAddress(kernel32, "SetDllDirectoryW")));
    return functions;
}

bool search_libraries_in_system_folder_only(const DllSearchFunctions& functions) {
    if (functions.set_default_dll_directories &&
        functions.set_default_dll_directories(LOAD_LIBRARY_SEARCH_SYSTEM32))
        return true;
    // The older way leaves the program's own folder in the search, but an empty string
    // takes the current folder out of it, which the system would otherwise search too.
    return functions.set_dll_directory && functions.set_dll_directory(L"");
}

}  // namespace tastomat
