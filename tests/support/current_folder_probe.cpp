// Prints the current directory of every running process whose program file has the name
// given (for example Tastomat.exe), one a line in UTF-8, read from the process's own
// parameter block as Windows keeps it; exit code 1 when no such process runs.
#include <windows.h>

#include <tlhelp32.h>
#include <winternl.h>

#include <cstdio>
#include <string>

#include "platform/win32/wide.h"

namespace {

// Where the 64-bit process parameters keep the current directory's path (a UNICODE_STRING
// after the flags, the console fields and the three standard handles), and where the
// process environment block keeps the parameters.
constexpr SIZE_T kParametersInPeb = 0x20;
constexpr SIZE_T kCurrentDirectoryInParameters = 0x38;

using QueryProcess = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);

template <typename T>
bool read(HANDLE process, const void* at, T& value) {
    SIZE_T got = 0;
    return ReadProcessMemory(process, at, &value, sizeof value, &got) && got == sizeof value;
}

std::wstring current_directory_of(DWORD pid, QueryProcess query) {
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!process) return {};
    std::wstring folder;
    PROCESS_BASIC_INFORMATION basic{};
    const char* peb = nullptr;
    const char* parameters = nullptr;
    UNICODE_STRING path{};
    if (query(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) == 0 &&
        (peb = reinterpret_cast<const char*>(basic.PebBaseAddress)) &&
        read(process, peb + kParametersInPeb, parameters) && parameters &&
        read(process, parameters + kCurrentDirectoryInParameters, path) && path.Buffer) {
        folder.resize(path.Length / sizeof(wchar_t));
        SIZE_T got = 0;
        if (!ReadProcessMemory(process, path.Buffer, folder.data(), path.Length, &got) ||
            got != path.Length)
            folder.clear();
    }
    CloseHandle(process);
    return folder;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    const auto query = reinterpret_cast<QueryProcess>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    if (!query) return 2;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 2;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    int found = 0;
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry)) {
        if (lstrcmpiW(entry.szExeFile, argv[1]) != 0) continue;
        const std::string line =
            tastomat::to_utf8(current_directory_of(entry.th32ProcessID, query));
        std::printf("%s\n", line.c_str());
        ++found;
    }
    CloseHandle(snapshot);
    return found ? 0 : 1;
}
