// Started from a launcher slot in the end-to-end scenarios: appends one line
//   <full command line>|<current directory>
// in UTF-8 to the file named by its first argument, so a test can see exactly how it
// was started. When TASTOMAT_RECORD_SHOW names a file, it also appends the show command
// its starter handed over in its start-up information (the one its first ShowWindow would
// use), or -1 when none was given, one number a line.
// A program without a window: a console would take the keyboard from the launcher's next
// badge whenever it comes up late.
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/win32/wide.h"

int record(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    wchar_t show_log[MAX_PATH * 4] = {};
    if (GetEnvironmentVariableW(L"TASTOMAT_RECORD_SHOW", show_log,
                                static_cast<DWORD>(std::size(show_log)))) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        GetStartupInfoW(&startup);
        const int show = startup.dwFlags & STARTF_USESHOWWINDOW ? startup.wShowWindow : -1;
        const std::string number = std::to_string(show) + "\n";
        if (FILE* f = _wfopen(show_log, L"ab")) {
            std::fwrite(number.data(), 1, number.size(), f);
            std::fclose(f);
        }
    }
    wchar_t cwd[MAX_PATH * 4] = {};
    GetCurrentDirectoryW(static_cast<DWORD>(std::size(cwd)), cwd);
    const std::string line =
        tastomat::to_utf8(GetCommandLineW()) + "|" + tastomat::to_utf8(cwd) + "\n";
    FILE* f = _wfopen(argv[1], L"ab");
    if (!f) return 1;
    std::fwrite(line.data(), 1, line.size(), f);
    std::fclose(f);
    return 0;
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return record(__argc, __wargv); }
