// Libraries come from the system folder and nowhere else, also on a Windows 7 that knows no
// search flags; a stand-in loader plays each system.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/delay_load_win.h"
#include "platform/win32/system_library.h"

namespace tastomat {
namespace {

struct Load {
    std::wstring name;
    DWORD flags;
};

// What the stand-in does with the search flag, and with a full path.
struct System {
    DWORD search_flag_error;  // 0: the flag is known and the library found
    bool found_by_path;
};
System g_system;
std::vector<Load> g_loads;
HMODULE fake_module() { return GetModuleHandleW(L"kernel32.dll"); }

HMODULE WINAPI fake_load(LPCWSTR name, HANDLE, DWORD flags) {
    g_loads.push_back({name, flags});
    if (flags & LOAD_LIBRARY_SEARCH_SYSTEM32) {
        SetLastError(g_system.search_flag_error);
        return g_system.search_flag_error ? nullptr : fake_module();
    }
    SetLastError(g_system.found_by_path ? 0 : ERROR_MOD_NOT_FOUND);
    return g_system.found_by_path ? fake_module() : nullptr;
}

std::wstring system_folder() {
    wchar_t folder[MAX_PATH];
    const UINT n = GetSystemDirectoryW(folder, MAX_PATH);
    return std::wstring(folder, n);
}

// Records the exception the delay-load helper would raise, and carries on after it.
std::vector<DWORD> g_raised;
LONG CALLBACK record_exception(EXCEPTION_POINTERS* e) {
    if (e->ExceptionRecord->ExceptionCode != kDelayedLibraryMissing)
        return EXCEPTION_CONTINUE_SEARCH;
    g_raised.push_back(e->ExceptionRecord->ExceptionCode);
    return EXCEPTION_CONTINUE_EXECUTION;
}

TEST(SystemLibrary, ComesFromTheSystemFolderOnEverySystem) {
    const std::wstring by_path = system_folder() + L"\\winhttp.dll";
    struct Case {
        const char* system;
        System behaviour;
        std::vector<Load> loads;
        bool loaded;
    } cases[] = {
        {"Windows 8 and later, or 7 with KB2533623",
         {0, true},
         {{L"winhttp.dll", LOAD_LIBRARY_SEARCH_SYSTEM32}},
         true},
        {"Windows 7 without KB2533623",
         {ERROR_INVALID_PARAMETER, true},
         {{L"winhttp.dll", LOAD_LIBRARY_SEARCH_SYSTEM32}, {by_path, LOAD_WITH_ALTERED_SEARCH_PATH}},
         true},
        {"the system folder lacks it",
         {ERROR_MOD_NOT_FOUND, true},
         {{L"winhttp.dll", LOAD_LIBRARY_SEARCH_SYSTEM32}},
         false},
        {"Windows 7 without KB2533623, the system folder lacks it",
         {ERROR_INVALID_PARAMETER, false},
         {{L"winhttp.dll", LOAD_LIBRARY_SEARCH_SYSTEM32}, {by_path, LOAD_WITH_ALTERED_SEARCH_PATH}},
         false},
    };
    PVOID handler = AddVectoredExceptionHandler(1, record_exception);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.system);
        g_system = c.behaviour;
        g_loads.clear();
        EXPECT_EQ(system_library(L"winhttp.dll", fake_load) != nullptr, c.loaded);
        ASSERT_EQ(g_loads.size(), c.loads.size());
        for (size_t i = 0; i < c.loads.size(); ++i) {
            EXPECT_EQ(g_loads[i].name, c.loads[i].name);
            EXPECT_EQ(g_loads[i].flags, c.loads[i].flags);
        }

        // The delay-load helper is never left to load the bare name itself.
        g_loads.clear();
        g_raised.clear();
        int info = 0;
        HMODULE delayed = library_for_delayed_import("winhttp.dll", &info, fake_load);
        EXPECT_NE(delayed, nullptr);
        EXPECT_EQ(g_loads.size(), c.loads.size());
        if (c.loaded) {
            EXPECT_EQ(delayed, fake_module());
            EXPECT_TRUE(g_raised.empty());
        } else {
            EXPECT_EQ(delayed, GetModuleHandleW(nullptr));
            EXPECT_EQ(g_raised.size(), 1u);
        }
    }
    RemoveVectoredExceptionHandler(handler);
}

TEST(SystemLibrary, TheRealLoaderTakesTheSystemFoldersCopy) {
    HMODULE module = system_library(L"version.dll");
    ASSERT_NE(module, nullptr);
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(module, path, MAX_PATH);
    EXPECT_EQ(CompareStringOrdinal(path, static_cast<int>(n),
                                   (system_folder() + L"\\version.dll").c_str(), -1, TRUE),
              CSTR_EQUAL);
    EXPECT_EQ(system_library(L"no-such-library-here.dll"), nullptr);
}

}  // namespace
}  // namespace tastomat
