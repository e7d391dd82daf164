// Started from a launcher slot in the end-to-end scenarios: appends one line
//   <full command line>|<current directory>
// in UTF-8 to the file named by its first argument, so a test can see exactly how it
// was started.
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/win32/wide.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
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
