#pragma once
// System libraries that only one seldom-used feature needs are loaded when it is first
// used, not imported: every import is mapped, with all it imports in turn, before the
// program's first line runs, at each start. The file dialogs alone bring the printing
// stack along.
#include <windows.h>

#include <string>

namespace tastomat {

// The system folder (System32), without a final backslash; empty if the system does not
// say.
std::wstring system_folder();

// LoadLibraryExW, or a stand-in in tests.
using LibraryLoader = HMODULE(WINAPI*)(LPCWSTR name, HANDLE reserved, DWORD flags);

// The library from the system folder only: the program runs from a stick, and a library
// of the same name beside it must not be loaded in its place, nor one that it imports in
// turn. Stays loaded until the process ends; nullptr when it cannot be loaded.
HMODULE system_library(const wchar_t* name, LibraryLoader load = LoadLibraryExW);

// An exported function of such a library, or nullptr.
template <typename Function>
Function* system_function(const wchar_t* library, const char* name) {
    HMODULE module = system_library(library);
    if (!module) return nullptr;
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace tastomat
