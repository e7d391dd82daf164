#include "platform/win32/account_start_win.h"

#include <windows.h>

#include "platform/file_system.h"
#include "platform/win32/file_system_win.h"
#include "platform/win32/scoped.h"
#include "platform/win32/shell_win.h"
#include "platform/win32/wide.h"

namespace tastomat {
namespace {

// The directory the way the system would make it current: "E:" is the current directory
// of drive E:, a relative path is taken from the launcher's own.
std::wstring full_directory(const std::string& dir) {
    const std::wstring wide = to_wide(dir);
    std::wstring full(MAX_PATH, L'\0');
    DWORD n = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (n >= full.size()) {
        full.resize(n);
        n = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    }
    full.resize(n < full.size() ? n : 0);
    const DWORD attributes =
        full.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(full.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        const DWORD error =
            attributes == INVALID_FILE_ATTRIBUTES ? GetLastError() : ERROR_DIRECTORY;
        throw FileError("Cannot change to directory \"" + dir + "\". " +
                        system_message(error ? error : ERROR_PATH_NOT_FOUND));
    }
    return full;
}

}  // namespace

bool start_as_account(const Account& account, const std::string& command_line,
                      const std::string& dir) {
    const std::wstring directory = full_directory(dir);
    const std::wstring user = to_wide(account.user);
    // The system may write into the command line.
    std::wstring line = to_wide(command_line);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    allow_started_program_to_the_front();
    const BOOL created = CreateProcessWithLogonW(user.c_str(), nullptr, account.password.c_str(), 0,
                                                 nullptr, line.data(), CREATE_DEFAULT_ERROR_MODE,
                                                 nullptr, directory.c_str(), &startup, &process);
    // The launcher never waits for what it started.
    const ScopedHandle process_handle(process.hProcess);
    const ScopedHandle thread_handle(process.hThread);
    return created != FALSE;
}

}  // namespace tastomat
