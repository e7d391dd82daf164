#pragma once
// Libraries that only a seldom-used feature needs (the update check's HTTP client, COM for
// shell links and the folder browser, version resources, themes) are imported to load at
// their first call rather than at every start; see cmake/delay_import.cmake.
#include <windows.h>

#include "platform/win32/system_library.h"

namespace tastomat {

// Makes those first calls load the library from the system folder only, as
// system_library() does. Called first thing at start.
void load_delayed_libraries_from_system_folder();

// What the delay-load helper is handed for the library dll before it loads it. Never
// nullptr: given none, the helper would load the bare name itself, through the standard
// search, which looks beside the program first. When the system folder has no such library
// this raises the helper's own exception for a library that is missing everywhere;
// should a handler carry on after it, the program's own module is handed over, which
// exports nothing the import could find. load_info is the helper's, for the exception.
HMODULE library_for_delayed_import(const char* dll, const void* load_info,
                                   LibraryLoader load = LoadLibraryExW);

// The code of that exception, as the helper raises it.
inline constexpr DWORD kDelayedLibraryMissing = 0xC0000000 | (0x6D << 16) | ERROR_MOD_NOT_FOUND;

}  // namespace tastomat
