// Holds a global hotkey the way another program would, so that the launcher finds it
// taken: "hotkey_holder.exe <modifiers> <virtual-key>" with the numbers RegisterHotKey
// takes. Prints "registered" once it holds the key (exit code 1 when it cannot), then
// keeps it until it is ended.
#include <windows.h>

#include <cstdio>
#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) return 2;
    const UINT modifiers = static_cast<UINT>(std::wcstoul(argv[1], nullptr, 0));
    const UINT key = static_cast<UINT>(std::wcstoul(argv[2], nullptr, 0));
    if (!RegisterHotKey(nullptr, 1, modifiers, key)) {
        std::printf("refused %lu\n", GetLastError());
        return 1;
    }
    std::printf("registered\n");
    std::fflush(stdout);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    }
    return 0;
}
