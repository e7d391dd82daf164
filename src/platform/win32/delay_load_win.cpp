#include "platform/win32/delay_load_win.h"

#include <string>

#if defined(__MINGW32__)
#include <delayimp.h>
#endif

namespace tastomat {

HMODULE library_for_delayed_import(const char* dll, const void* load_info, LibraryLoader load) {
    // The names are the import libraries' own, plain ASCII.
    const std::string name = dll;
    if (HMODULE module = system_library(std::wstring(name.begin(), name.end()).c_str(), load))
        return module;
    const ULONG_PTR argument = reinterpret_cast<ULONG_PTR>(load_info);
    RaiseException(kDelayedLibraryMissing, 0, 1, &argument);
    return GetModuleHandleW(nullptr);
}

#if defined(__MINGW32__)
namespace {

FARPROC WINAPI before_delayed_load(unsigned notification, PDelayLoadInfo info) {
    if (notification != dliNotePreLoadLibrary || !info || !info->szDll) return nullptr;
    PDelayLoadInfo argument = info;
    return reinterpret_cast<FARPROC>(library_for_delayed_import(info->szDll, &argument));
}

}  // namespace

void load_delayed_libraries_from_system_folder() { __pfnDliNotifyHook2 = before_delayed_load; }
#else
// Other toolchains import these libraries the ordinary way.
void load_delayed_libraries_from_system_folder() {}
#endif

}  // namespace tastomat
