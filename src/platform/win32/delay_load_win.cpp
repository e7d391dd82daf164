#include "platform/win32/delay_load_win.h"

#include <windows.h>

#if defined(__MINGW32__)
#include <delayimp.h>

#include <string>

#include "platform/win32/system_library.h"
#endif

namespace tastomat {

#if defined(__MINGW32__)
namespace {

FARPROC WINAPI before_delayed_load(unsigned notification, PDelayLoadInfo info) {
    if (notification != dliNotePreLoadLibrary || !info || !info->szDll) return nullptr;
    // The names are the import libraries' own, plain ASCII.
    const std::string name = info->szDll;
    return reinterpret_cast<FARPROC>(
        system_library(std::wstring(name.begin(), name.end()).c_str()));
}

}  // namespace

void load_delayed_libraries_from_system_folder() { __pfnDliNotifyHook2 = before_delayed_load; }
#else
// Other toolchains import these libraries the ordinary way.
void load_delayed_libraries_from_system_folder() {}
#endif

}  // namespace tastomat
