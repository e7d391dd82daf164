// Libraries named without a path come from the system folder on every system: the newer
// call where there is one, else the older that at least drops the current folder. Stand-ins
// play each system, so the test process's own search stays as it is.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/dll_search_win.h"

namespace tastomat {
namespace {

std::vector<std::wstring> g_calls;
BOOL g_default_result = TRUE;

BOOL WINAPI fake_set_default(DWORD flags) {
    g_calls.push_back(L"SetDefaultDllDirectories " + std::to_wstring(flags));
    return g_default_result;
}

BOOL WINAPI fake_set_directory(LPCWSTR path) {
    g_calls.push_back(L"SetDllDirectoryW \"" + std::wstring(path ? path : L"(null)") + L"\"");
    return TRUE;
}

TEST(DllSearch, SystemFolderOnlyWhereTheSystemCanSaySoElseNotTheCurrentFolder) {
    const std::wstring system32 =
        L"SetDefaultDllDirectories " + std::to_wstring(LOAD_LIBRARY_SEARCH_SYSTEM32);
    const struct {
        const char* system;
        DllSearchFunctions functions;
        BOOL default_result;
        std::vector<std::wstring> calls;
        bool restricted;
    } cases[] = {
        {"Windows 8 and later, or 7 with KB2533623",
         {fake_set_default, fake_set_directory},
         TRUE,
         {system32},
         true},
        {"Windows 7 without KB2533623",
         {nullptr, fake_set_directory},
         TRUE,
         {L"SetDllDirectoryW \"\""},
         true},
        {"the newer call refuses",
         {fake_set_default, fake_set_directory},
         FALSE,
         {system32, L"SetDllDirectoryW \"\""},
         true},
        {"neither there", {nullptr, nullptr}, TRUE, {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.system);
        g_calls.clear();
        g_default_result = c.default_result;
        EXPECT_EQ(search_libraries_in_system_folder_only(c.functions), c.restricted);
        EXPECT_EQ(g_calls, c.calls);
    }
    // The older call exists on every supported system, so the real lookup finds it.
    EXPECT_NE(system_dll_search_functions().set_dll_directory, nullptr);
}

}  // namespace
}  // namespace tastomat
