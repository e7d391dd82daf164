// Holds a file open without sharing it, as another program may, until it is ended:
//   hold_file <file>
// Prints "held" once the file is open; exit code 1 when it could not be opened.
#include <windows.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    HANDLE h = CreateFileW(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return 1;
    std::printf("held\n");
    std::fflush(stdout);
    Sleep(INFINITE);
    CloseHandle(h);
    return 0;
}
