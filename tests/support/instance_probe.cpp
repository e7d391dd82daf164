// The program's single-instance guard in a program of its own, for the tests with real
// processes. It appends one UTF-8 line per event to the file named by TASTOMAT_PROBE_LOG:
//   <pid> TAB first                           this copy goes on as the first copy
//   <pid> TAB started TAB <n> [TAB <param>]... a later start handed over its parameters
// With TASTOMAT_PROBE_GATE set it releases the semaphore named by TASTOMAT_PROBE_READY and
// waits for the event of that name before the guard runs, so a test can let many copies
// meet the guard at the same moment. A handed-over parameter "quit" ends the first copy.
// Exit code: 0 first copy ended, 2 handed over, 3 guard gave no first copy.
#include <windows.h>

#include <string>
#include <vector>

#include "components/oneinstance_win.h"
#include "platform/win32/scoped.h"
#include "platform/win32/wide.h"
#include "ui/application.h"

namespace {

using tastomat::ScopedHandle;

std::wstring environment(const wchar_t* name) {
    wchar_t value[1024] = {};
    const DWORD n = GetEnvironmentVariableW(name, value, 1024);
    return n && n < 1024 ? std::wstring(value, n) : std::wstring();
}

void log_line(const std::string& text) {
    const std::wstring path = environment(L"TASTOMAT_PROBE_LOG");
    if (path.empty()) return;
    const ScopedHandle file(CreateFileW(path.c_str(), FILE_APPEND_DATA,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    // One write per line: appends of several copies never interleave.
    const std::string line = std::to_string(GetCurrentProcessId()) + "\t" + text + "\n";
    DWORD written = 0;
    WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

void wait_at_gate() {
    const std::wstring gate = environment(L"TASTOMAT_PROBE_GATE");
    if (gate.empty()) return;
    const ScopedHandle ready(OpenSemaphoreW(SEMAPHORE_MODIFY_STATE, FALSE,
                                            environment(L"TASTOMAT_PROBE_READY").c_str()));
    const ScopedHandle event(OpenEventW(SYNCHRONIZE, FALSE, gate.c_str()));
    if (ready) ReleaseSemaphore(ready.get(), 1, nullptr);
    if (event) WaitForSingleObject(event.get(), 120000);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using namespace tastomat;
    wait_at_gate();
    ui::Application& app = ui::Application::instance();
    Toneinstance guard(nullptr);
    guard.Oninstancestarted = [](Toneinstance&, const std::vector<std::string>& params) {
        std::string line = "started\t" + std::to_string(params.size());
        bool quit = false;
        for (const std::string& p : params) {
            line += "\t" + p;
            quit = quit || p == "quit";
        }
        log_line(line);
        if (quit) PostQuitMessage(0);
    };
    switch (guard.Init()) {
        case InstanceRole::handed_over:
            return 2;
        case InstanceRole::alone:
            return 3;
        case InstanceRole::first:
            break;
    }
    log_line("first");
    app.run();
    return 0;
}
